// State pictures as vertical image strips: one frame's size, a frame's source rect, and where a frame
// stands centred in a widget.
#pragma once

#include <cstdint>
#include <optional>

#include "rect.h"

namespace qssdk::ui {

struct frame_size {
    int32_t width = 0, height = 0;  // device-independent pixels

    bool operator==(const frame_size&) const = default;
};

// One frame of a strip of frames states stacked top to bottom, from the decoded image's pixel size and
// its pixels per DIP. Nothing for a strip of no frames or a scale that is not above 0: such a value
// draws no image.
std::optional<frame_size> strip_frame_size(uint32_t pixel_width, uint32_t pixel_height, float scale, uint32_t frames);

// Frame index of the strip, top first, in image units.
rect strip_frame_rect(const frame_size& frame, uint32_t index);

// The frame centred in an area of that size (halvings truncate toward zero).
rect centred_frame(const frame_size& frame, int32_t width, int32_t height);

}  // namespace qssdk::ui
