#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "scroll_bar_math.h"

namespace {

using namespace qssdk::ui;

constexpr scroll_orientation vertical = scroll_orientation::vertical;
constexpr scroll_orientation horizontal = scroll_orientation::horizontal;
constexpr int32_t min_thumb = 50;
constexpr int32_t int_min = std::numeric_limits<int32_t>::min();
constexpr int32_t int_max = std::numeric_limits<int32_t>::max();

// A vertical bar 16 x 200 with arrow buttons (a track of 168) over a content of 500 in a viewport of 200
// scrolled by 100: ratio 118 / 300.
const scroll_bar_shape tall{vertical, true, 16, 200, min_thumb};
const scroll_content long_content{-100, 500, 200};

TEST(UiScrollBarMath, ThumbValueAndRatioFromTheContent) {
    struct measure_case {
        std::string_view name;
        scroll_bar_shape shape;
        std::optional<scroll_content> content;
        rect first, second, thumb;
        int32_t value, max_value;
        float ratio;
        bool overruns;
    };
    const measure_case cases[] = {
        {"no content: the thumb fills the track", tall, std::nullopt,
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 16, 16, 168}, 0, 0, 0.0f, false},
        {"no buttons, horizontal", {horizontal, false, 200, 16, min_thumb}, std::nullopt,
         {}, {}, {0, 0, 200, 16}, 0, 0, 0.0f, false},
        {"content inside the viewport", tall, scroll_content{0, 150, 200},
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 16, 16, 168}, 0, 0, 0.0f, false},
        {"a small overhang shortens the thumb", tall, scroll_content{-20, 250, 200},
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 36, 16, 118}, 20, 50, 1.0f, false},
        {"a long content gets the minimum thumb", tall, long_content,
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 55, 16, 50}, 100, 300, 118.0f / 300.0f, false},
        {"scrolled to the end the thumb meets the second button", tall, scroll_content{-300, 500, 200},
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 134, 16, 50}, 300, 300, 118.0f / 300.0f, false},
        {"scrolled past the end", tall, scroll_content{-400, 500, 200},
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 134, 16, 50}, 300, 300, 118.0f / 300.0f, true},
        {"content below its start", tall, scroll_content{10, 500, 200},
         {0, 0, 16, 16}, {0, 184, 16, 16}, {0, 16, 16, 50}, 0, 300, 118.0f / 300.0f, false},
        {"a bar shorter than its minimum thumb", {vertical, true, 16, 60, min_thumb}, long_content,
         {0, 0, 16, 16}, {0, 44, 16, 16}, {0, 16, 16, 28}, 100, 300, 0.0f, false},
        {"a bar shorter than its buttons", {vertical, true, 16, 20, min_thumb}, long_content,
         {0, 0, 16, 16}, {0, 4, 16, 16}, {0, 16, 16, 0}, 100, 300, 0.0f, false},
        {"horizontal with buttons", {horizontal, true, 200, 16, min_thumb}, scroll_content{-50, 400, 200},
         {0, 0, 16, 16}, {184, 0, 16, 16}, {45, 0, 50, 16}, 50, 200, 118.0f / 200.0f, false},
        {"an unknown orientation", {static_cast<scroll_orientation>(2), true, 16, 200, min_thumb}, long_content,
         {}, {}, {}, 0, 0, 0.0f, false},
    };
    for (const measure_case& c : cases) {
        SCOPED_TRACE(c.name);
        const scroll_metrics m = measure_scroll_bar(c.shape, c.content);
        EXPECT_EQ(m.first_button, c.first);
        EXPECT_EQ(m.second_button, c.second);
        EXPECT_EQ(m.thumb, c.thumb);
        EXPECT_EQ(m.value, c.value);
        EXPECT_EQ(m.max_value, c.max_value);
        EXPECT_FLOAT_EQ(m.ratio, c.ratio);
        EXPECT_EQ(m.overruns, c.overruns);
    }
}

TEST(UiScrollBarMath, PressesHitButtonsThumbAndTrackWithTheirEdges) {
    const scroll_metrics m = measure_scroll_bar(tall, long_content);  // thumb from 55 to 105
    struct hit_case {
        int32_t x, y;
        scroll_part part;
    };
    const hit_case cases[] = {
        {8, 10, scroll_part::first_button}, {8, 16, scroll_part::first_button}, {8, 190, scroll_part::second_button},
        {8, 55, scroll_part::thumb},        {16, 105, scroll_part::thumb},      {8, 54, scroll_part::track_before},
        {8, 106, scroll_part::track_after}, {20, 80, scroll_part::none},
    };
    for (const hit_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        EXPECT_EQ(scroll_hit(tall, m, c.x, c.y), c.part);
    }
    const scroll_bar_shape bare{vertical, false, 16, 200, min_thumb};
    EXPECT_EQ(scroll_hit(bare, measure_scroll_bar(bare, long_content), 8, 5), scroll_part::track_before);
}

TEST(UiScrollBarMath, TrackClicksAndDragsMeasureFromTheTrack) {
    const scroll_metrics m = measure_scroll_bar(tall, long_content);
    struct click_case {
        scroll_part part;
        int32_t y;
        std::optional<int32_t> position;
    };
    const click_case cases[] = {
        {scroll_part::track_before, 40, 61},     // (40 - 16) / ratio: the thumb's start comes to the click
        {scroll_part::track_before, 16, 0},
        {scroll_part::track_before, 2, 0},       // never before the start
        {scroll_part::track_after, 150, 213},    // (150 - 16 - 50) / ratio: its end comes to the click
        {scroll_part::track_after, 199, 300},    // never past the end
        {scroll_part::thumb, 80, std::nullopt},
        {scroll_part::first_button, 8, std::nullopt},
    };
    for (const click_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "y " << c.y);
        EXPECT_EQ(track_click_position(tall, m, c.part, 8, c.y), c.position);
    }
    // Horizontal clicks measure x past the first button the same way.
    const scroll_bar_shape wide{horizontal, true, 200, 16, min_thumb};
    const scroll_metrics w = measure_scroll_bar(wide, scroll_content{0, 400, 200});  // ratio 0.59
    EXPECT_EQ(track_click_position(wide, w, scroll_part::track_after, 130, 8), 108);  // (130 - 16 - 50) / 0.59

    // A drag keeps the distance between cursor and thumb: pressed at 60 on a thumb that travelled 39.
    EXPECT_EQ(thumb_travel(m), 39);
    EXPECT_EQ(drag_position(m, 100 - (60 - thumb_travel(m))), 200);
    EXPECT_EQ(drag_position(m, -30), 0);
    EXPECT_EQ(drag_position(m, 1000), 300);

    // No thumb travel (nothing to scroll, or a bar shorter than its minimum thumb): nothing to divide by.
    for (const scroll_metrics& still : {measure_scroll_bar(tall, scroll_content{0, 100, 200}),
                                        measure_scroll_bar({vertical, true, 16, 60, min_thumb}, long_content)}) {
        EXPECT_EQ(track_click_position(tall, still, scroll_part::track_after, 8, 50), std::nullopt);
        EXPECT_EQ(drag_position(still, 40), std::nullopt);
    }
}

TEST(UiScrollBarMath, SnappingOffsetsWheelAndFitting) {
    struct snap_case {
        int32_t position, step, snapped;
    };
    for (const snap_case& c : {snap_case{57, 10, 50}, {-57, 10, -50}, {5, 10, 0}, {123, -10, 120}, {57, 0, 57},
                               {int_min, -1, int_min}, {int_max, 10, int_max - 7}}) {
        SCOPED_TRACE(testing::Message() << c.position << " by " << c.step);
        EXPECT_EQ(snap_scroll_position(c.position, c.step), c.snapped);
    }

    struct offset_case {
        int32_t a, b, max_value, offset;
    };
    for (const offset_case& c : {offset_case{50, 0, 300, -50}, {400, 0, 300, -300}, {-5, 0, 300, 0}, {50, 0, 0, 0},
                                 {int_min, 0, 300, 0}, {int_max, 0, int_max, -int_max}}) {
        SCOPED_TRACE(testing::Message() << "position " << c.a);
        EXPECT_EQ(content_offset_for_position(c.a, c.max_value), c.offset);
    }
    for (const offset_case& c : {offset_case{-10, 60, 300, 0}, {-10, -60, 300, -70}, {-290, -60, 300, -300},
                                 {0, -60, 0, 0}, {-300, int_min, 300, -300}, {-1, int_max, 300, 0}}) {
        SCOPED_TRACE(testing::Message() << "offset " << c.a << " by " << c.b);
        EXPECT_EQ(content_offset_scrolled_by(c.a, c.b, c.max_value), c.offset);
    }

    EXPECT_EQ(wheel_scroll_delta(60.0), 60);
    EXPECT_EQ(wheel_scroll_delta(-60.7), -60);
    EXPECT_EQ(wheel_scroll_delta(std::nan("")), 0);
    EXPECT_EQ(wheel_scroll_delta(1e300), int_max);
    EXPECT_EQ(wheel_scroll_delta(-1e300), int_min);

    EXPECT_EQ(fitted_content_offset({-100, 500, 450}), -50);  // far edge 400 inside 450
    EXPECT_EQ(fitted_content_offset({-100, 300, 450}), 0);    // never past the start
    EXPECT_EQ(fitted_content_offset({0, 300, 450}), std::nullopt);
    EXPECT_EQ(fitted_content_offset({-100, 600, 450}), std::nullopt);
}

}  // namespace
