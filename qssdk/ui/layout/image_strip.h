// State pictures as vertical image strips: one frame's size, a frame's source rect, and where a frame
// stands centred in a widget.
#pragma once

#include <cstdint>
#include <optional>

#include "rect.h"
#include "size.h"

namespace qssdk::ui {

// One frame of a strip of frames states stacked top to bottom, from the image's size in DIPs. Nothing
// for a strip of no frames: such a value draws no image.
std::optional<size> strip_frame_size(const size& image, uint32_t frames);

// Frame index of the strip, top first, in image units.
rect strip_frame_rect(const size& frame, uint32_t index);

// The frame centred in an area of that size (halvings truncate toward zero).
rect centred_frame(const size& frame, int32_t width, int32_t height);

}  // namespace qssdk::ui
