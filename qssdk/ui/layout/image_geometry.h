// Sizes of an image in device-independent pixels from its pixel size and its pixels per DIP.
#pragma once

#include <cstdint>

#include "float_box.h"
#include "rect.h"
#include "size.h"

namespace qssdk::ui {

// pixels x (1 / scale) in each direction, truncated.
size image_size_in_dips(uint32_t pixel_width, uint32_t pixel_height, float scale);
// A source rect in DIPs as the pixel box it covers: (sx s, sy s, (sx + sw) s, (sy + sh) s).
float_box image_source_pixels(const rect& source, float scale);

}  // namespace qssdk::ui
