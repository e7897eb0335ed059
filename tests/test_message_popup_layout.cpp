// The message popup's layout as relations between its parts, without a window.
#include <gtest/gtest.h>

#include "message_popup_layout.h"
#include "text_codes.h"

namespace {

using namespace qssdk::ui;

// The plug-in's defaults: margins 20, component margin 10, the 28 x 24 image, a 100 x 30 button, centred.
message_popup_metrics defaults() {
    message_popup_metrics m;
    m.requested_width = 500;
    m.margins = {20, 20};
    m.component_margin = 10;
    m.image = {28, 24};
    m.button = {100, 30};
    m.button_align = popup_button_align_center;
    return m;
}

TEST(MessagePopupLayout, TextStartsRightOfTheImageAndWrapsInsideTheRequestedWidth) {
    message_popup_metrics m = defaults();
    EXPECT_EQ(popup_text_limit(m), (size{500 - 2 * 20 - (28 + 20), 1000}));
    const message_popup_geometry g = layout_message_popup(m, {120, 14});
    EXPECT_EQ(g.text, (rect{20 + 28 + 20, 20, 500 - 2 * 20 - (28 + 20), 14}));
    EXPECT_EQ(g.client.width, 500) << "a short text keeps the requested width";

    // Without an image the text starts at the margin and wraps at the requested width less the margins.
    m.image = {};
    EXPECT_EQ(popup_text_limit(m), (size{460, 1000}));
    EXPECT_EQ(layout_message_popup(m, {120, 14}).text, (rect{20, 20, 460, 14}));
}

TEST(MessagePopupLayout, TheButtonSitsAboveTheBottomMarginWhereItsAlignmentCodeSays) {
    struct row {
        int32_t code;
        std::optional<int32_t> x;
    };
    // Client width 500: left at the margin, centred by integer division, right at the margin.
    const row rows[] = {{popup_button_align_left, 20},
                        {popup_button_align_center, (500 - 100) / 2},
                        {popup_button_align_right, 500 - 100 - 20},
                        {3, std::nullopt},
                        {-1, std::nullopt}};
    for (const row& r : rows) {
        message_popup_metrics m = defaults();
        m.button_align = r.code;
        const message_popup_geometry g = layout_message_popup(m, {120, 14});
        ASSERT_EQ(g.button.has_value(), r.x.has_value()) << r.code;
        if (!r.x) continue;
        EXPECT_EQ(g.button->x, *r.x) << r.code;
        EXPECT_EQ(g.button->y + g.button->height + 20, g.client.height) << r.code;
        EXPECT_EQ((size{g.button->width, g.button->height}), (size{100, 30})) << r.code;
    }
}

TEST(MessagePopupLayout, TheWindowGrowsWithTheTextDownwardAndWithAWiderLineSideways) {
    const message_popup_metrics m = defaults();
    // Height: two margins of each kind, the button and the taller of image and text.
    const message_popup_geometry small = layout_message_popup(m, {120, 14});
    EXPECT_EQ(small.client.height, 2 * (10 + 20) + 30 + 24) << "a text lower than the image";
    const message_popup_geometry tall = layout_message_popup(m, {400, 300});
    EXPECT_EQ(tall.client.height, 2 * (10 + 20) + 30 + 300);
    EXPECT_EQ(tall.client.width, 500);
    EXPECT_EQ(tall.text.height, 300);
    EXPECT_EQ(tall.button->y - tall.text.y, small.button->y - small.text.y + (300 - 24))
        << "the button moves down with the text";

    // A laid-out line wider than the wrap width widens the window to hold it.
    const message_popup_geometry wide = layout_message_popup(m, {700, 14});
    EXPECT_EQ(wide.client.width, 2 * 20 + 700 + 28 + 20);
    EXPECT_EQ(wide.text.width, 700);
    EXPECT_EQ(wide.button->x, (wide.client.width - 100) / 2);

    // A shown check box adds its height above the button row.
    message_popup_metrics with_box = m;
    with_box.check_box = {460, 20};
    EXPECT_EQ(layout_message_popup(with_box, {120, 14}).client.height, small.client.height + 20);
}

// Never taller than the work area allows: a long text is cut after its last whole line that fits, and the
// button stays inside the client area above the bottom margin, below the text.
TEST(MessagePopupLayout, APopupTallerThanTheScreenAllowsIsCutAfterAWholeLineAndKeepsItsButton) {
    // The frame around the text: two margins of each kind and the button.
    constexpr int32_t frame = 2 * (10 + 20) + 30;
    const struct {
        const char* what;
        int32_t max_height;
        float line_height;
        int32_t text_height;
        int32_t client_height;
        int32_t shown_text_height;
        bool cut;
    } rows[] = {
        {"no limit", 0, 13.5f, 2000, frame + 2000, 2000, false},
        {"a text that fits", 600, 13.5f, 300, frame + 300, 300, false},
        {"exactly as tall as allowed", 600, 13.5f, 600 - frame, 600, 600 - frame, false},
        // Room 510: 37 lines of 13.5 (499.5) show, the 38th would end at 513.
        {"a text taller than allowed", 600, 13.5f, 2000, 600, 500, true},
        {"without a line pitch, cut at the room", 600, 0.0f, 2000, 600, 600 - frame, true},
        {"a limit below the frame", 50, 13.5f, 2000, 50, 0, true},
    };
    for (const auto& r : rows) {
        message_popup_metrics m = defaults();
        m.max_client_height = r.max_height;
        m.line_height = r.line_height;
        const message_popup_geometry g = layout_message_popup(m, {400, r.text_height});
        EXPECT_EQ(g.client.height, r.client_height) << r.what;
        EXPECT_EQ(g.text.height, r.shown_text_height) << r.what;
        EXPECT_EQ(g.text_cut, r.cut) << r.what;
        ASSERT_TRUE(g.button.has_value()) << r.what;
        EXPECT_EQ(g.button->y + g.button->height + 20, g.client.height) << r.what << ": the button keeps its margin";
        if (r.client_height >= frame) {
            EXPECT_GE(g.button->y, 0) << r.what;
            EXPECT_LE(g.text.y + g.text.height + 10, g.button->y) << r.what << ": the text ends above the button";
        }
    }
}

TEST(MessagePopupLayout, TextAlignmentCodesMapToThePainters) {
    EXPECT_EQ(popup_text_alignment(0), align_code_leading);
    EXPECT_EQ(popup_text_alignment(1), align_code_center);
    EXPECT_EQ(popup_text_alignment(2), align_code_trailing);
    EXPECT_EQ(popup_text_alignment(7), align_code_center);
}

}  // namespace
