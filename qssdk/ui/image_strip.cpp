// Image strip frames.
#include "image_strip.h"

#include <cmath>

#include "saturate.h"

namespace qssdk::ui {

namespace {

// Pixels to whole DIPs, truncated.
int32_t dips(uint32_t pixels, float scale) {
    return truncate_to_int32(static_cast<double>(static_cast<float>(pixels) * (1.0f / scale)));
}

}  // namespace

std::optional<frame_size> strip_frame_size(uint32_t pixel_width, uint32_t pixel_height, float scale, uint32_t frames) {
    if (frames == 0 || !(scale > 0.0f) || !std::isfinite(1.0f / scale)) return std::nullopt;
    return frame_size{dips(pixel_width, scale), saturate_int32(int64_t{dips(pixel_height, scale)} / frames)};
}

rect strip_frame_rect(const frame_size& frame, uint32_t index) {
    return {0, saturate_int32(int64_t{index} * frame.height), frame.width, frame.height};
}

rect centred_frame(const frame_size& frame, int32_t width, int32_t height) {
    return {saturate_int32((int64_t{width} - frame.width) / 2), saturate_int32((int64_t{height} - frame.height) / 2),
            frame.width, frame.height};
}

}  // namespace qssdk::ui
