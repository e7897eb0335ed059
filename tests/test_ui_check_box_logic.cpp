#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "check_box_layout.h"
#include "check_state.h"
#include "event_manager.h"
#include "event_object.h"

namespace {

using namespace qssdk::ui;

TEST(UiCheckBoxLogic, PlacementTableOfTheEightCodesAndAnInvalidOne) {
    // A 200 x 30 check box, a 16 x 16 box, a 60 x 14 text, a gap of 5: 119 pixels to spare.
    const check_box_sizes sizes{200, 30, 16, 16, 60, 14, 5};
    const check_box_layout previous{{3, 0, 0, 0}, {4, 0, 0, 0}};
    struct placement_case {
        int32_t code;
        int32_t box_x, text_x;
    };
    const placement_case cases[] = {
        {0, 0, 21},  {1, 119, 140}, {2, 59, 80}, {3, 0, 140}, {4, 65, 0},
        {5, 184, 119}, {6, 124, 59}, {7, 184, 0}, {8, 3, 4},  {-1, 3, 4},
    };
    for (const placement_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        const check_box_layout l = place_check_box(static_cast<check_placement>(c.code), sizes, previous);
        EXPECT_EQ(l.box, (rect{c.box_x, 7, 16, 16}));
        EXPECT_EQ(l.text, (rect{c.text_x, 8, 60, 14}));
    }

    // No gap beside an empty text; odd halvings truncate toward zero, also below zero.
    const check_box_sizes no_text{100, 31, 16, 16, 0, 0, 5};
    EXPECT_EQ(place_check_box(check_placement::box_then_text, no_text, previous),
              (check_box_layout{{0, 7, 16, 16}, {16, 15, 0, 0}}));
    EXPECT_EQ(place_check_box(check_placement::text_then_box_centred, no_text, previous),
              (check_box_layout{{42, 7, 16, 16}, {42, 15, 0, 0}}));
    const check_box_sizes cramped{10, 5, 16, 16, 7, 14, 5};
    EXPECT_EQ(place_check_box(check_placement::box_then_text_centred, cramped, previous),
              (check_box_layout{{-9, -5, 16, 16}, {12, -4, 7, 14}}));
}

TEST(UiCheckBoxLogic, FrameOfTheBoxForEachStateAndStripLength) {
    struct look {
        bool checked, enabled, hover;
    };
    // Columns: strips of 0, 1, 2 and 4 frames (-1: no image drawn).
    struct frame_case {
        look state;
        int expected[4];
    };
    const frame_case cases[] = {
        {{false, true, false}, {-1, 0, 0, 0}}, {{true, true, false}, {-1, 0, 1, 1}},
        {{false, true, true}, {-1, 0, 0, 2}},  {{true, true, true}, {-1, 0, 1, 3}},
        {{true, false, false}, {-1, 0, 0, 0}}, {{true, false, true}, {-1, 0, 0, 2}},
    };
    const uint32_t strips[] = {0, 1, 2, 4};
    for (const frame_case& c : cases)
        for (size_t i = 0; i < std::size(strips); ++i) {
            SCOPED_TRACE(testing::Message() << "checked " << c.state.checked << " enabled " << c.state.enabled
                                            << " hover " << c.state.hover << ", " << strips[i] << " frames");
            const std::optional<uint32_t> frame =
                check_box_frame(strips[i], c.state.checked, c.state.enabled, c.state.hover);
            EXPECT_EQ(frame ? static_cast<int>(*frame) : -1, c.expected[i]);
        }
}

// What a listener of the two value_changed events sees, and when the repaint comes.
struct toggle_listener : event_object {
    struct seen {
        std::string what;
        uint32_t phase = 0, flag = 0;
        uint64_t value = 0;
        bool checked = false;

        bool operator==(const seen&) const = default;
    };

    explicit toggle_listener(event_object& box, const check_state& state) {
        event_manager::instance().connect(&box, this, event_id::value_changed, [this, &state](const event_info& e) {
            log.push_back({"changed", e.phase, e.flag, e.value, state.checked()});
        });
    }
    std::vector<seen> log;
};

TEST(UiCheckBoxLogic, ToggleFiresBeforeAndAfterAndFlipsTheLinkedValueAsItIsNow) {
    event_object box;
    check_state state;
    toggle_listener listener(box, state);
    const auto repaint = [&] { listener.log.push_back({"repaint", 0, 0, 0, state.checked()}); };

    state.toggle(box, repaint);
    using seen = toggle_listener::seen;
    const std::vector<seen> once = {
        {"changed", 0, 0, 0, false}, {"repaint", 0, 0, 0, true}, {"changed", 2, 0, 0, true}};
    EXPECT_EQ(listener.log, once);

    // Linked: the caller's bool is the state, also when it changed from outside since the last toggle.
    bool linked = false;
    state.linked_value = &linked;
    EXPECT_FALSE(state.checked());
    state.toggle(box, [] {});
    EXPECT_TRUE(linked);
    linked = false;  // changed by its owner
    state.toggle(box, [] {});
    EXPECT_TRUE(linked);
    EXPECT_TRUE(state.checked());
    listener.log.clear();
    state.toggle(box, repaint);
    EXPECT_EQ(listener.log.back(), (seen{"changed", 2, 0, 0, false}));
    EXPECT_FALSE(linked);
}

}  // namespace
