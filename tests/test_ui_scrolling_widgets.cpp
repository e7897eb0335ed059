// The gallery's scroll bar, flow panel and label section in a kit window on the display: its picture
// against references, and real window messages scrolling, dragging and following a link. Every wait is
// bounded (pumps of fixed length, a watchdog over the test).
//
// The references are tests/reference/ui_scrolling_section.png (as built) and
// ui_scrolling_section_scrolled.png (after the scrolling below); after a deliberate change of the look,
// write them anew with
//     PELLUX_REGENERATE_REFERENCES=1 ./pellux test -R UiScrollingWidgets
// look at them, and commit them with the change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ReferencePictures.h"
#include "capture_widget.h"
#include "scrolling_section.h"
#include "ui_watchdog.h"
#include "window.h"
#include "window_capture.h"
#include "window_styles.h"

namespace {

using namespace qssdk::ui;
using gallery::scrolling_section;

// Below the simulated host's 1280 x 800 window, which tests running at the same time show at (0, 0).
constexpr int32_t window_left = 300;
constexpr int32_t window_top = 830;

class UiScrollingWidgets : public testing::Test {
protected:
    void SetUp() override {
        w.create("Scrolling", {window_left, window_top, scrolling_section::width, scrolling_section::height},
                 popup | topmost);
        section.place(&w.get_root_widget(), {0, 0, scrolling_section::width, scrolling_section::height});
        section.html_label().set_link_opener([this](std::string_view href) { opened.emplace_back(href); });
        ShowWindow(w.native_handle(), SW_SHOWNOACTIVATE);
        gallery::pump_messages_for(50);
    }
    void TearDown() override {
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the watchdog had to step in";
        set_capture_widget(nullptr);
        ReleaseCapture();
    }
    // Posted messages do not move the cursor, and widgets read it: it goes to the client point first.
    void cursor_to(point client) {
        POINT p{client.x, client.y};
        ClientToScreen(w.native_handle(), &p);
        SetCursorPos(p.x, p.y);
        gallery::pump_messages_for(30);
    }
    void post(UINT message, WPARAM wparam = 0) {
        PostMessageW(w.native_handle(), message, wparam, 0);
        gallery::pump_messages_for(20);
    }
    // A point of a widget (its own coordinates) in the window's client area.
    static point in_window(const widget& wd, point at) {
        for (const widget* p = &wd; p; p = p->get_parent()) {
            at.x += p->get_rect().x;
            at.y += p->get_rect().y;
        }
        return at;
    }
    hostsim::Image shot() {
        gallery::repaint_and_settle(w.native_handle());
        return gallery::capture_client_area(w.native_handle());
    }
    void expect_reference(const char* name) {
        const hostsim::Image picture = shot();
        ASSERT_EQ(picture.width(), scrolling_section::width);
        ASSERT_EQ(picture.height(), scrolling_section::height);
        const auto d = reference_pictures::compare_with_reference(picture, name);
        if (!d) return;  // written anew instead
        // Per channel: a few steps at most anywhere (edges of text), well under one on average.
        EXPECT_LE(d->max, 8.0f / 255) << d->pictures;
        EXPECT_LE(d->mean, 0.5 / 255) << d->pictures;
    }

    ui_test::watchdog guard;
    window w;
    scrolling_section section;
    std::vector<std::string> opened;
};

TEST_F(UiScrollingWidgets, WheelButtonAndDragScrollTheContentAsDrawn) {
    expect_reference("ui_scrolling_section.png");
    scroll_bar& bar = section.bar();
    const widget& content = section.content();
    // 420 of content in 150: 270 to scroll; a thumb of 50 in a track of 118.
    ASSERT_EQ(bar.metrics().max_value, 270);
    ASSERT_EQ(bar.metrics().thumb, (rect{0, 16, 16, 50}));
    const point over_content = in_window(content, {80, 40});
    const point second_button = in_window(bar, {8, 150 - 8});

    cursor_to(over_content);
    post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    EXPECT_EQ(content.get_rect().y, -60) << "one notch down";
    cursor_to(second_button);
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
    EXPECT_EQ(content.get_rect().y, -70) << "a click on the down button";

    // The thumb has travelled trunc(70 x 68 / 270) = 17; a press 23 into it, then 30 down.
    const point on_thumb = in_window(bar, {8, 16 + 17 + 23});
    cursor_to(on_thumb);
    post(WM_LBUTTONDOWN);
    ASSERT_TRUE(bar.dragging());
    EXPECT_EQ(capture_widget(), &bar);
    cursor_to({on_thumb.x, on_thumb.y + 30});
    post(WM_MOUSEMOVE);
    // 47 of travel at a ratio of 68 / 270 asks for 186, snapped to the step of 10.
    EXPECT_EQ(content.get_rect().y, -180) << "the drag";
    // Released below the window: the capture still brings the release to the bar.
    cursor_to({on_thumb.x, scrolling_section::height + 40});
    post(WM_LBUTTONUP);
    EXPECT_FALSE(bar.dragging());
    EXPECT_EQ(capture_widget(), nullptr);
    EXPECT_EQ(content.get_rect().y, -180);

    // Sideways: 320 in 160, a thumb of 50 in a track of 128, a ratio of 78 / 160; a click on the track
    // 120 into the bar puts the thumb's end there: (120 - 16 - 50) / ratio.
    cursor_to(in_window(section.across(), {120, 8}));
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
    EXPECT_EQ(content.get_rect().x, -110);
    EXPECT_EQ(content.get_rect().y, -180);
    expect_reference("ui_scrolling_section_scrolled.png");
}

TEST_F(UiScrollingWidgets, ALeftClickOnALinkOpensItsAddressAndTheHandGoesWithTheMouse) {
    text_label& label = section.html_label();
    ASSERT_EQ(label.link_areas().size(), 1u);
    const link_area link = label.link_areas()[0];
    EXPECT_EQ(link.href, scrolling_section::link_address);
    ASSERT_FALSE(link.rect.empty());
    const point on_link = in_window(label, {link.rect.x + link.rect.width / 2, link.rect.y + link.rect.height / 2});
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    cursor_to(on_link);
    post(WM_MOUSEMOVE);
    post(WM_MOUSEMOVE);
    EXPECT_EQ(GetCursor(), hand) << "over the link";
    post(WM_RBUTTONDOWN);
    post(WM_RBUTTONUP);
    post(WM_MBUTTONDOWN);
    post(WM_MBUTTONUP);
    EXPECT_TRUE(opened.empty()) << "a right or middle click opens nothing";
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
    EXPECT_EQ(opened, std::vector<std::string>{scrolling_section::link_address});

    // Straight from the link out of the label: the arrow comes back.
    cursor_to(in_window(section.content(), {80, 40}));
    post(WM_MOUSEMOVE);
    post(WM_MOUSEMOVE);
    EXPECT_EQ(GetCursor(), arrow) << "after leaving the label";

    // A plain text replaces the HTML text's runs and links: the same click opens nothing.
    label.set_text("Now plain", false, false);
    EXPECT_TRUE(label.runs().empty());
    EXPECT_TRUE(label.link_areas().empty());
    cursor_to(on_link);
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
    EXPECT_EQ(opened.size(), 1u);
}

}  // namespace
