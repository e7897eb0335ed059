// The installer widgets' own logic, without a window: the progress bar's value and done width, the
// question popup's layout, the link's hover handlers connected once, and the style store's flag.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "LinkButton.h"
#include "NotificationPopup.h"
#include "ProgressBar.h"
#include "event_manager.h"

namespace {

using namespace qssdk::ui;

TEST(InstallerWidgets, TheProgressBarKeepsItsValueWithinZeroAndOne) {
    const struct {
        float given, kept;
    } cases[] = {{0.0f, 0.0f},
                 {0.25f, 0.25f},
                 {1.0f, 1.0f},
                 {-0.5f, 0.0f},
                 {1.5f, 1.0f},
                 {std::numeric_limits<float>::infinity(), 1.0f},
                 {-std::numeric_limits<float>::infinity(), 0.0f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
    installer::ProgressBar bar;
    EXPECT_EQ(bar.progress(), 0.0f);
    for (const auto& c : cases) {
        bar.set_progress(c.given);
        EXPECT_EQ(bar.progress(), c.kept) << c.given;
    }
}

TEST(InstallerWidgets, TheDoneWidthRoundsHalfAwayFromZero) {
    const struct {
        int width;
        float fraction;
        int done;
    } cases[] = {{75, 0.0f, 0}, {75, 1.0f, 75}, {75, 0.5f, 38}, {424, 1.0f / 3.0f, 141}, {3, 0.5f, 2}};
    for (const auto& c : cases) EXPECT_EQ(installer::done_width(c.width, c.fraction), c.done) << c.width << " " << c.fraction;
}

TEST(InstallerWidgets, ThePopupPlacesImageLabelAndButtonsFromItsMargins) {
    // The cancel question: window margins (70, 20), component margins 20, a 28 x 24 image.
    const installer::PopupLayout l = installer::popup_layout(70, 20, 20, 28, 24, 33);
    EXPECT_EQ(l.image, (point{186, 20}));
    EXPECT_EQ(l.label, (rect{70, 64, 260, 33}));
    EXPECT_EQ(l.buttons, (rect{70, 117, 260, 30}));
    EXPECT_EQ(l.client_height, 167);
    // A longer text: the buttons and the window follow the label's height.
    const installer::PopupLayout tall = installer::popup_layout(40, 20, 20, 28, 24, 150);
    EXPECT_EQ(tall.label, (rect{40, 64, 320, 150}));
    EXPECT_EQ(tall.buttons.y, 234);
    EXPECT_EQ(tall.client_height, 284);
}

TEST(InstallerWidgets, ALinkAttachedTwiceUnderlinesOnceOnHoverAndNotAfterLeavingOrHiding) {
    installer::LinkButton link;
    event_manager& events = event_manager::instance();
    int underline_changes = 0;
    event_object listener;
    events.connect(&link, &listener, event_id::style_changed, [&](const event_info& e) {
        const auto* key = reinterpret_cast<const char*>(static_cast<uintptr_t>(e.value));
        if (std::string_view(key) == "button_text_underlined") ++underline_changes;
    });
    events.fire(&link, event_id::attached, 2, 1, 0);
    events.fire(&link, event_id::attached, 2, 1, 0);
    events.fire(&link, event_id::mouse_enter, 2, 1, 0);
    EXPECT_EQ(underline_changes, 1) << "the hover handler runs once per event";
    EXPECT_TRUE(link.get_style().get("button_text_underlined").as_flag());
    events.fire(&link, event_id::mouse_leave, 2, 1, 0);
    EXPECT_EQ(underline_changes, 2);
    EXPECT_FALSE(link.get_style().get("button_text_underlined").as_flag());
    // Hidden while hovered: no leave comes, and the underline must not stay for when it shows again.
    events.fire(&link, event_id::mouse_enter, 2, 1, 0);
    events.fire(&link, event_id::hidden, 2, 1, 0);
    EXPECT_FALSE(link.get_style().get("button_text_underlined").as_flag());
}

TEST(InstallerWidgets, SetFlagStoresOneByteAndAnnouncesTheKey) {
    event_object owner;
    style s(&owner);
    std::string_view announced;
    event_object listener;
    event_manager::instance().connect(&owner, &listener, event_id::style_changed, [&](const event_info& e) {
        announced = reinterpret_cast<const char*>(static_cast<uintptr_t>(e.value));
    });
    s.set_scalar("some_flag", 0x01010101u);
    s.set_flag("some_flag", false);
    EXPECT_EQ(s.get("some_flag").bytes, std::string(1, '\0')) << "replaces the scalar with one byte";
    EXPECT_FALSE(s.get("some_flag").as_flag());
    s.set_flag("some_flag", true);
    EXPECT_EQ(s.get("some_flag").bytes, std::string(1, '\1'));
    EXPECT_EQ(s.get("some_flag").color, (color{}));
    EXPECT_EQ(announced, "some_flag");
}

}  // namespace
