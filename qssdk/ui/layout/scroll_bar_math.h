// The scroll bar's arithmetic without the widget: buttons, track and thumb from the bar's and the
// content's sizes, what a press hits, the positions that track clicks and thumb drags ask for, and the
// content offsets that scrolling gives.
#pragma once

#include <cstdint>
#include <optional>

#include "rect.h"

namespace qssdk::ui {

enum class scroll_orientation : int32_t { vertical = 0, horizontal = 1 };

struct scroll_bar_shape {
    scroll_orientation orientation = scroll_orientation::vertical;
    bool show_buttons = false;
    int32_t width = 0, height = 0;
    int32_t min_thumb = 0;  // the style's "scroll_min_size"
};

// The scrolled content along the bar's axis: its offset in its parent (0 or negative), its length and
// the parent's (the viewport's) length.
struct scroll_content {
    int32_t offset = 0;
    int32_t length = 0;
    int32_t viewport_length = 0;
};

struct scroll_metrics {
    rect first_button, second_button;  // up or left, down or right; empty without buttons
    rect thumb;
    int32_t value = 0;      // scrolled distance, 0 to max_value
    int32_t max_value = 0;  // how far the content overhangs the viewport
    float ratio = 0.0f;     // thumb travel per pixel of value; 0 when the thumb cannot travel
    // The content stands past its end (the viewport grew or the content shrank): the owner moves it to
    // position max_value.
    bool overruns = false;
};

// Without content the thumb fills the track. The thumb is the track shortened by the overhang but no
// shorter than min_thumb, and never longer than the track: a bar too short for its minimum thumb gets a
// thumb that fills the track and a ratio of 0. Any orientation but the two gives all zero.
scroll_metrics measure_scroll_bar(const scroll_bar_shape& shape, const std::optional<scroll_content>& content);

enum class scroll_part { none, first_button, second_button, thumb, track_before, track_after };

// What a press at (x, y) in the bar's coordinates hits; rect tests include the edges. A press level with
// the thumb but beside it hits nothing.
scroll_part scroll_hit(const scroll_bar_shape& shape, const scroll_metrics& m, int32_t x, int32_t y);

// The position a click on the track asks for: the thumb's start jumps to a click before it, its end to a
// click after it, both measured past the first button. Nothing when the thumb cannot travel.
std::optional<int32_t> track_click_position(const scroll_bar_shape& shape, const scroll_metrics& m, scroll_part part,
                                            int32_t x, int32_t y);

// How far the thumb has travelled from the track's start: what a drag keeps between cursor and thumb.
int32_t thumb_travel(const scroll_metrics& m);

// The position a thumb drag asks for when the cursor, less the offset kept at the press, stands at
// travel along the axis. Nothing when the thumb cannot travel.
std::optional<int32_t> drag_position(const scroll_metrics& m, int32_t travel);

// Position rounded down to a multiple of step (towards 0); a step of 0 leaves it as it is.
int32_t snap_scroll_position(int32_t position, int32_t step);

// The content offset for a position, kept within [-max_value, 0].
int32_t content_offset_for_position(int32_t position, int32_t max_value);

// The content offset after scrolling by delta (positive towards the start), kept within [-max_value, 0].
int32_t content_offset_scrolled_by(int32_t offset, int32_t delta, int32_t max_value);

// A wheel event's value in pixels, truncated; out of range values saturate and NaN scrolls nothing.
int32_t wheel_scroll_delta(double value);

// After the viewport grew: a scrolled content whose far edge lies inside the viewport moves back until
// that edge meets the viewport's (never past offset 0). Nothing when it need not move.
std::optional<int32_t> fitted_content_offset(const scroll_content& content);

}  // namespace qssdk::ui
