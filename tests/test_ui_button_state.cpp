#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "button_state.h"
#include "image_strip.h"
#include "input_codes.h"

namespace {

using namespace qssdk::ui;

constexpr uint64_t left = static_cast<uint64_t>(mouse_button::left);
constexpr uint64_t right = static_cast<uint64_t>(mouse_button::right);

// One step of a sequence: the event, and what the button should say and be afterwards.
enum class input {
    enter, leave, focus, down_left, down_right, up_left, up_right, key_enter_down, key_other_down, key_space_down,
    key_space_up
};

struct step {
    input in;
    button_reaction reaction;  // only for releases and keys
    bool hover, pressed, toggled;
};

button_reaction apply(button_state& b, input in) {
    switch (in) {
    case input::enter: b.mouse_enter(); return {};
    case input::leave: b.mouse_leave(); return {};
    case input::focus: b.focus_changed(); return {};
    case input::down_left: b.mouse_down(left); return {};
    case input::down_right: b.mouse_down(right); return {};
    case input::up_left: return b.mouse_up(left);
    case input::up_right: return b.mouse_up(right);
    case input::key_enter_down: return b.key_down(key_enter);
    case input::key_other_down: return b.key_down(key_escape);
    case input::key_space_down: return b.key_down(key_space);
    case input::key_space_up: return b.key_up(key_space);
    }
    return {};
}

struct sequence {
    std::string_view name;
    bool toggle_mode;
    std::vector<step> steps;
};

TEST(UiButtonState, ClickedOnlyForALeftReleaseAfterALeftPressOnTheButton) {
    const button_reaction none{}, repaint{true, false}, click{true, true}, key_click{false, true};
    const sequence cases[] = {
        {"press and release", false,
         {{input::enter, none, true, false, false}, {input::down_left, none, true, true, false},
          {input::up_left, click, true, false, false}}},
        {"release of a press made elsewhere", false,
         {{input::enter, none, true, false, false}, {input::up_left, repaint, true, false, false}}},
        {"leaving cancels the press", false,
         {{input::enter, none, true, false, false}, {input::down_left, none, true, true, false},
          {input::leave, none, false, false, false}, {input::enter, none, true, false, false},
          {input::up_left, repaint, true, false, false}}},
        {"focus change cancels the press", false,
         {{input::down_left, none, false, true, false}, {input::focus, none, false, false, false},
          {input::up_left, repaint, false, false, false}}},
        {"focus then press, as a click routes it", false,
         {{input::focus, none, false, false, false}, {input::down_left, none, false, true, false},
          {input::up_left, click, false, false, false}}},
        {"right button: pressed look, no click", false,
         {{input::down_right, none, false, true, false}, {input::up_right, none, false, true, false},
          {input::up_left, repaint, false, false, false}}},
        {"enter clicks without repaint", false,
         {{input::key_enter_down, key_click, false, false, false}, {input::key_other_down, none, false, false, false}}},
        {"space presses on its press and clicks on its release", false,
         {{input::key_space_down, repaint, false, true, false}, {input::key_space_up, click, false, false, false},
          {input::key_space_up, none, false, false, false}}},
        {"a release of space pressed elsewhere, or after a focus change, does not click", false,
         {{input::key_space_up, none, false, false, false}, {input::key_space_down, repaint, false, true, false},
          {input::focus, none, false, false, false}, {input::key_space_up, none, false, false, false}}},
        {"toggle mode flips on each click and Enter", true,
         {{input::down_left, none, false, true, false}, {input::up_left, click, false, false, true},
          {input::key_enter_down, click, false, false, false}, {input::key_enter_down, click, false, false, true},
          {input::up_left, repaint, false, false, true}}},
    };
    for (const sequence& c : cases) {
        SCOPED_TRACE(c.name);
        button_state b;
        b.toggle_mode = c.toggle_mode;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            const step& s = c.steps[i];
            const button_reaction r = apply(b, s.in);
            EXPECT_EQ(r.redraw, s.reaction.redraw);
            EXPECT_EQ(r.clicked, s.reaction.clicked);
            EXPECT_EQ(b.hover(), s.hover);
            EXPECT_EQ(b.pressed(), s.pressed);
            EXPECT_EQ(b.toggled(), s.toggled);
        }
    }
}

TEST(UiButtonState, FrameTableForEveryStateAndStripLength) {
    struct look {
        bool toggled, hover, enabled, pressed;
    };
    // Columns: strips of 0, 1, 2, 4, 5 and 8 frames (-1: no image drawn).
    struct frame_case {
        look state;
        int expected[6];
    };
    const frame_case cases[] = {
        {{false, false, true, false}, {-1, 0, 0, 0, 0, 0}},
        {{false, true, true, false}, {-1, 0, 1, 1, 1, 1}},
        {{false, false, false, false}, {-1, 0, 0, 2, 2, 2}},
        {{false, true, false, false}, {-1, 0, 1, 2, 2, 2}},
        {{false, true, true, true}, {-1, 0, 1, 3, 3, 3}},
        {{true, false, true, false}, {-1, 0, 0, 0, 4, 4}},
        {{true, true, true, false}, {-1, 0, 1, 1, 1, 5}},
        {{true, false, false, false}, {-1, 0, 0, 2, 2, 6}},
        {{true, true, false, true}, {-1, 0, 1, 3, 3, 7}},
    };
    const uint32_t strips[] = {0, 1, 2, 4, 5, 8};
    for (const frame_case& c : cases) {
        // Reach the state through the machine itself.
        button_state b;
        b.toggle_mode = true;
        if (c.state.toggled) b.key_down(key_enter);
        if (c.state.hover) b.mouse_enter();
        if (c.state.pressed) b.mouse_down(left);
        for (size_t i = 0; i < std::size(strips); ++i) {
            SCOPED_TRACE(testing::Message() << "toggled " << c.state.toggled << " hover " << c.state.hover
                                            << " enabled " << c.state.enabled << " pressed " << c.state.pressed << ", "
                                            << strips[i] << " frames");
            const std::optional<uint32_t> frame = button_frame(strips[i], b, c.state.enabled);
            EXPECT_EQ(frame ? static_cast<int>(*frame) : -1, c.expected[i]);
        }
    }
}

TEST(UiImageStrip, FrameSizesSourceRectsAndCentring) {
    EXPECT_EQ(strip_frame_size({16, 64}, 4), (size{16, 16}));
    EXPECT_EQ(strip_frame_size({15, 50}, 4), (size{15, 12}));  // the frame height truncates
    EXPECT_EQ(strip_frame_size({16, 64}, 1), (size{16, 64}));
    EXPECT_EQ(strip_frame_size({16, 64}, 0), std::nullopt);  // no frames: no image, no division

    EXPECT_EQ(strip_frame_rect({16, 12}, 0), (rect{0, 0, 16, 12}));
    EXPECT_EQ(strip_frame_rect({16, 12}, 3), (rect{0, 36, 16, 12}));

    // Placed from the current size at each paint: centred after any resize, also in an area too small.
    EXPECT_EQ(centred_frame({16, 12}, 100, 30), (rect{42, 9, 16, 12}));
    EXPECT_EQ(centred_frame({16, 12}, 200, 31), (rect{92, 9, 16, 12}));
    EXPECT_EQ(centred_frame({16, 12}, 11, 0), (rect{-2, -6, 16, 12}));
}

}  // namespace
