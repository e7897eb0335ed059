// Image sizes between pixels and device-independent pixels.
#include "image_geometry.h"

namespace qssdk::ui {

size image_size_in_dips(uint32_t pixel_width, uint32_t pixel_height, float scale) {
    const float inverse = 1.0f / scale;
    return {static_cast<int32_t>(static_cast<float>(pixel_width) * inverse),
            static_cast<int32_t>(static_cast<float>(pixel_height) * inverse)};
}

float_box image_source_pixels(const rect& source, float scale) {
    const float_box box = to_box(source);
    return {box.left * scale, box.top * scale, box.right * scale, box.bottom * scale};
}

}  // namespace qssdk::ui
