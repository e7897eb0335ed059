// An embedded image as the style store holds it: encoded PNG or JPEG bytes in the program's read-only
// data, their count, the number of state frames stacked vertically and the image's pixels per
// device-independent pixel.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct image_data {
    const unsigned char* bytes = nullptr;
    uint64_t size = 0;
    uint32_t frames = 1;
    float scale = 1.0f;
};
static_assert(sizeof(image_data) == 24);

}  // namespace qssdk::ui
