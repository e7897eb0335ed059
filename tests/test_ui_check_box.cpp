// The check box on a real window: its handlers bound once however often it is attached, toggles driven
// through the window's messages from the linked value's current state, and the box frame each state paints.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "ControlsTestSupport.h"
#include "check_box.h"
#include "event_manager.h"
#include "ui_test_support.h"

namespace {

using namespace qssdk::ui;
using controls_test::shown_window;

// The value_changed events of a check box: phase and the linked bool as each listener saw it.
struct change_log : event_object {
    change_log(check_box& box, const bool* linked) {
        event_manager::instance().connect(&box, this, event_id::value_changed, [this, linked](const event_info& e) {
            seen.push_back({e.phase, e.flag, e.value, *linked});
        });
    }
    struct change {
        uint32_t phase, flag;
        uint64_t value;
        bool linked;
        bool operator==(const change&) const = default;
    };
    std::vector<change> seen;
};

TEST(UiCheckBox, AttachedAgainItOnlyLaysOutAndEachClickTogglesOnce) {
    shown_window w(100, 240, 50);
    check_box box;
    bool linked = false;
    box.set_linked_value(&linked);
    change_log log(box, &linked);
    box.create(&w.get_root_widget(), {10, 10, 200, 26});
    // Disabled once attached: a click is not even routed to it.
    EXPECT_FALSE(box.is_enabled());
    EXPECT_EQ(box.get_placement(), static_cast<int32_t>(check_placement::box_then_text_centred));
    w.click(box, {100, 13});
    EXPECT_TRUE(log.seen.empty());

    box.set_enabled(true);
    box.set_text("Twice attached");
    box.update_layout(static_cast<int32_t>(check_placement::text_left_box_right), 5);
    const check_box_layout placed = box.get_layout();
    box.set_rect({10, 10, 220, 26}, true);
    for (int i = 0; i < 2; ++i) event_manager::instance().fire(&box, event_id::attached, 2, 1, 0);
    // Laid out again for the new width with its own placement, and left enabled.
    EXPECT_TRUE(box.is_enabled());
    EXPECT_EQ(box.get_placement(), static_cast<int32_t>(check_placement::text_left_box_right));
    EXPECT_EQ(box.get_layout().box.x, placed.box.x + 20);

    w.click(box, {100, 13});
    using change = change_log::change;
    EXPECT_EQ(log.seen, (std::vector<change>{{0, 0, 0, false}, {2, 0, 0, true}}));
    EXPECT_TRUE(linked);
}

TEST(UiCheckBox, DrivenTogglesStartFromTheLinkedValueAsItIsNow) {
    shown_window w(100, 240, 50);
    check_box box;
    box.create(&w.get_root_widget(), {10, 10, 200, 26});
    box.set_enabled(true);
    bool linked = true;
    box.set_linked_value(&linked);
    EXPECT_TRUE(box.is_checked());
    w.cursor_to(box, {100, 13});
    w.post(WM_LBUTTONDOWN);  // takes the focus for the keys below
    const struct {
        const char* what;
        std::function<void()> drive;
        bool linked_after;
    } steps[] = {
        {"left release", [&] { w.post(WM_LBUTTONUP); }, false},
        {"changed from outside", [&] { linked = true; }, true},
        {"right release toggles from there", [&] { w.post(WM_RBUTTONDOWN); w.post(WM_RBUTTONUP); }, false},
        {"middle release", [&] { w.post(WM_MBUTTONUP); }, true},
        {"Space pressed does nothing yet", [&] { w.post(WM_KEYDOWN, VK_SPACE); }, true},
        {"Space released toggles", [&] { w.post(WM_KEYUP, VK_SPACE); }, false},
        {"Enter does nothing", [&] { w.post(WM_KEYDOWN, VK_RETURN); w.post(WM_KEYUP, VK_RETURN); }, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.drive();
        EXPECT_EQ(linked, step.linked_after);
        EXPECT_EQ(box.is_checked(), step.linked_after);
    }
}

class UiCheckBoxStrip : public testing::Test {
protected:
    void SetUp() override { controls_test::install_test_strips(); }
    void TearDown() override { controls_test::remove_test_strips(); }
};

TEST_F(UiCheckBoxStrip, EachStatePaintsItsBoxFrame) {
    const struct {
        const char* strip;
        bool checked, hover, enabled;
        int frame;  // -1: no image
    } cases[] = {
        {"test_strip_0", true, false, true, -1},  // no frames: never loaded, nothing drawn
        {"test_strip_1", false, false, true, 0},  // one frame: always that frame
        {"test_strip_1", true, false, true, 0},
        {"test_strip_1", true, true, false, 0},
        {"test_strip_2", true, false, true, 1},
        {"test_strip_2", true, true, true, 1},
        {"test_strip_2", true, false, false, 0},  // checked but disabled shows unchecked
        {"test_strip_4", false, true, true, 2},
        {"test_strip_4", true, true, true, 3},
        {"test_strip_4", true, true, false, 2},
    };
    constexpr int32_t cw = 40, ch = 30;
    shown_window w(100, static_cast<int32_t>(std::size(cases)) * cw, ch);
    std::vector<std::unique_ptr<check_box>> boxes;
    std::vector<bool> linked(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        auto& box = *boxes.emplace_back(std::make_unique<check_box>());
        box.create(&w.get_root_widget(), {static_cast<int32_t>(i) * cw, 0, cw, ch});
        box.get_style().set_alias("checkbox_image", cases[i].strip);
        box.set_enabled(true);
        if (cases[i].checked) event_manager::instance().fire(&box, event_id::mouse_up, 2, 1, 0);
        if (cases[i].hover) event_manager::instance().fire(&box, event_id::mouse_enter, 2, 1, 0);
        box.set_enabled(cases[i].enabled);
    }
    const hostsim::Image shot = w.picture();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(testing::Message() << cases[i].strip << " checked " << cases[i].checked << " hover "
                                        << cases[i].hover << " enabled " << cases[i].enabled);
        // No text: the box is centred (placement 2 on attach), its frame 12 x 12 from (14, 9). A strip of no
        // frames is never loaded: the box keeps the size of the default 14 x 14 strip it had on attach.
        const point centre{static_cast<int32_t>(i) * cw + 20, 15};
        EXPECT_EQ(boxes[i]->get_layout().box, (cases[i].frame >= 0 ? rect{14, 9, 12, 12} : rect{13, 8, 14, 14}));
        if (cases[i].frame >= 0)
            EXPECT_TRUE(controls_test::shows(shot, centre, controls_test::frame_colours[cases[i].frame]));
        else
            for (const color& c : controls_test::frame_colours)
                EXPECT_FALSE(controls_test::shows(shot, {centre.x + 3, centre.y + 3}, c));
    }
}

}  // namespace
