// The push button on a real window: clicks and keys driven through the window's messages, and the frame
// of its image strip that each state paints, where, and with which strips.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "generic_button.h"
#include "input_codes.h"
#include "ui_test_support.h"

namespace {

using namespace qssdk::ui;
using controls_test::shown_window;
using ui_test::event_log;
using ui_test::logged_event;

constexpr color face{0.173f, 0.176f, 0.192f, 1.0f};       // button_color_normal of the default style
constexpr color selection{0.188f, 0.29f, 0.506f, 1.0f};  // button_color_toggle

TEST(UiButton, ClickedOnlyForALeftReleaseThatFollowsAPressOnIt) {
    shown_window w(100, 260, 60);
    generic_button a, b;
    a.create(&w.get_root_widget(), {10, 10, 100, 30});
    b.create(&w.get_root_widget(), {140, 10, 100, 30});
    event_log log;
    log.watch(&a, event_id::clicked);
    log.watch(&b, event_id::clicked);
    const auto over = [&](generic_button& x) { w.cursor_to(x, {50, 15}); };
    const logged_event a_clicked{&a, event_id::clicked, 0}, a_toggled_on{&a, event_id::clicked, 1};
    const struct {
        const char* what;
        std::function<void()> drive;
        std::vector<logged_event> expected;
    } steps[] = {
        {"press and release on a", [&] { over(a); w.post(WM_LBUTTONDOWN); w.post(WM_LBUTTONUP); }, {a_clicked}},
        {"press on a, release on b", [&] { over(a); w.post(WM_LBUTTONDOWN); over(b); w.post(WM_LBUTTONUP); }, {}},
        {"release on a with no press", [&] { over(a); w.post(WM_LBUTTONUP); }, {}},
        {"right press and release", [&] { over(a); w.post(WM_RBUTTONDOWN); w.post(WM_RBUTTONUP); }, {}},
        {"right press, left release", [&] { over(a); w.post(WM_RBUTTONDOWN); w.post(WM_LBUTTONUP); }, {}},
        {"Enter to the focused button", [&] { w.post(WM_KEYDOWN, VK_RETURN); }, {a_clicked}},
        {"Space down alone does not click", [&] { w.post(WM_KEYDOWN, VK_SPACE); }, {}},
        {"its release to the focused button clicks", [&] { w.post(WM_KEYUP, VK_SPACE); }, {a_clicked}},
        {"toggle mode: a click turns it on",
         [&] { a.set_toggle_mode(true); over(a); w.post(WM_LBUTTONDOWN); w.post(WM_LBUTTONUP); }, {a_toggled_on}},
        {"and Enter off again", [&] { w.post(WM_KEYDOWN, VK_RETURN); }, {a_clicked}},
        {"and a click on again", [&] { w.post(WM_LBUTTONDOWN); w.post(WM_LBUTTONUP); }, {a_toggled_on}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        log.clear();
        step.drive();
        EXPECT_EQ(log.events, step.expected);
    }
    EXPECT_EQ(w.get_focus_widget(), &a);

    // Toggled on and no longer pressed, it shows the toggle colour; b, left by the cursor, the normal one.
    controls_test::park_cursor();
    w.post(WM_MOUSELEAVE);
    EXPECT_TRUE(a.state().toggled());
    EXPECT_FALSE(a.state().pressed());
    const hostsim::Image shot = w.picture();
    EXPECT_TRUE(controls_test::shows(shot, {60, 25}, selection));
    EXPECT_TRUE(controls_test::shows(shot, {190, 25}, face));
}

// Buttons whose image is one of the test strips, each brought into a state by the events the window
// routes to it.
class UiButtonStrip : public testing::Test {
protected:
    void SetUp() override { controls_test::install_test_strips(); }
    void TearDown() override { controls_test::remove_test_strips(); }
};

enum look : unsigned { plain = 0, hover = 1, pressed = 2, toggled = 4, disabled = 8 };

void bring_into(generic_button& b, unsigned l) {
    event_manager& events = event_manager::instance();
    if (l & toggled) {
        b.set_toggle_mode(true);
        events.fire(&b, event_id::key_down, 2, 1, key_enter);
    }
    if (l & hover) events.fire(&b, event_id::mouse_enter, 2, 1, 0);
    if (l & pressed) events.fire(&b, event_id::mouse_down, 2, 1, static_cast<uint64_t>(mouse_button::left));
    if (l & disabled) b.set_enabled(false);
}

TEST_F(UiButtonStrip, EachStatePaintsItsFrameCentredAlsoAfterAResize) {
    const struct {
        const char* strip;
        unsigned look;
        int frame;  // -1: no image, the button's colour shows
    } cases[] = {
        {"test_strip_0", plain, -1},  // no frames: nothing drawn, nothing divided by zero
        {"test_strip_0", hover | pressed, -1},
        {"test_strip_1", hover | pressed, 0},
        {"test_strip_2", hover, 1},
        {"test_strip_2", disabled, 0},
        {"test_strip_4", plain, 0},
        {"test_strip_4", hover, 1},
        {"test_strip_4", disabled, 2},
        {"test_strip_4", hover | pressed, 3},
        {"test_strip_4", toggled, 0},
        {"test_strip_4", toggled | hover, 1},
        {"test_strip_8", toggled, 4},
        {"test_strip_8", toggled | hover, 5},
        {"test_strip_8", toggled | disabled, 6},
        {"test_strip_8", toggled | hover | pressed, 7},
        {"test_strip_8", hover | pressed, 3},
    };
    constexpr int32_t bw = 40, bh = 30, columns = 8;
    shown_window w(100, columns * (bw + 4), 3 * (bh + 4) + 60);
    std::vector<std::unique_ptr<generic_button>> buttons;
    for (const auto& c : cases) {
        const auto i = static_cast<int32_t>(buttons.size());
        auto& b = *buttons.emplace_back(std::make_unique<generic_button>());
        b.create(&w.get_root_widget(), {(i % columns) * (bw + 4), (i / columns) * (bh + 4), bw, bh});
        b.get_style().set_alias("button_back_image", c.strip);
        bring_into(b, c.look);
    }
    // The same strip stretched over a whole button.
    generic_button stretched;
    stretched.create(&w.get_root_widget(), {0, 2 * (bh + 4), bw, bh});
    stretched.get_style().set_alias("button_back_image", "test_strip_4");
    stretched.get_style().set_scalar("button_back_image_strech", 1);

    hostsim::Image shot = w.picture();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(testing::Message() << cases[i].strip << ", look " << cases[i].look);
        const rect& r = buttons[i]->get_rect();
        const point centre{r.x + bw / 2, r.y + bh / 2};
        if (cases[i].frame >= 0) {
            EXPECT_TRUE(controls_test::shows(shot, centre, controls_test::frame_colours[cases[i].frame]));
            // Centred: the 12 x 12 frame spans 14..25 across and 9..20 down.
            EXPECT_TRUE(controls_test::shows(shot, {r.x + 14, r.y + 9}, controls_test::frame_colours[cases[i].frame]));
            EXPECT_FALSE(controls_test::shows(shot, {r.x + 13, r.y + 9}, controls_test::frame_colours[cases[i].frame]));
        } else {
            for (const color& c : controls_test::frame_colours) EXPECT_FALSE(controls_test::shows(shot, centre, c));
        }
    }
    EXPECT_TRUE(controls_test::shows(shot, {2, 2 * (bh + 4) + 2}, controls_test::frame_colours[0]));
    EXPECT_TRUE(controls_test::shows(shot, {bw - 3, 2 * (bh + 4) + bh - 3}, controls_test::frame_colours[0]));

    // Grown, the plain four-frame button keeps its frame in its new centre, and the old place is clear.
    generic_button& grown = *buttons[5];
    const rect before = grown.get_rect();
    grown.set_rect({before.x, 2 * (bh + 4) + 40, 3 * bw, bh + 20}, true);
    shot = w.picture();
    const rect& after = grown.get_rect();
    EXPECT_TRUE(controls_test::shows(shot, {after.x + (after.width - 12) / 2, after.y + (after.height - 12) / 2},
                                     controls_test::frame_colours[0]));
    EXPECT_TRUE(controls_test::shows(shot, {after.x + (after.width + 12) / 2 - 1, after.y + (after.height + 12) / 2 - 1},
                                     controls_test::frame_colours[0]));
    EXPECT_FALSE(controls_test::shows(shot, {before.x + bw / 2, before.y + bh / 2}, controls_test::frame_colours[0]));
}

}  // namespace
