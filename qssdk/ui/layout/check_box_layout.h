// Where a check box puts its box and its text (eight placement codes) and which frame of its image strip
// the box shows.
#pragma once

#include <cstdint>
#include <optional>

#include "rect.h"

namespace qssdk::ui {

enum class check_placement : int32_t {
    box_then_text = 0,        // box at the left, text after it
    box_then_text_right = 1,  // box then text, pushed to the right edge
    box_then_text_centred = 2,
    box_left_text_right = 3,  // box at the left edge, text at the right edge
    text_then_box = 4,        // text at the left, box after it
    text_then_box_right = 5,
    text_then_box_centred = 6,
    text_left_box_right = 7,
};

struct check_box_sizes {
    int32_t width = 0, height = 0;  // the check box widget
    int32_t box_width = 0, box_height = 0;
    int32_t text_width = 0, text_height = 0;
    int32_t gap = 0;  // between box and text; none beside an empty text
};

struct check_box_layout {
    rect box, text;

    bool operator==(const check_box_layout&) const = default;
};

// Both are centred vertically and sized as given; their x positions follow the placement. A code outside
// the eight keeps the previous x positions.
check_box_layout place_check_box(check_placement placement, const check_box_sizes& sizes,
                                 const check_box_layout& previous);

// The box's frame in a strip of frames: 1 when checked and enabled, plus 2 when hovered and the strip
// has four frames; a strip of one frame always shows frame 0. Nothing for a strip of no frames.
std::optional<uint32_t> check_box_frame(uint32_t frames, bool checked, bool enabled, bool hover);

}  // namespace qssdk::ui
