// Image strip frames.
#include "image_strip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qssdk::ui {

namespace {

int32_t saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Pixels to whole DIPs, truncated.
int64_t dips(uint32_t pixels, float scale) {
    const double v = std::trunc(static_cast<double>(static_cast<float>(pixels) * (1.0f / scale)));
    return static_cast<int64_t>(std::min(v, static_cast<double>(std::numeric_limits<int32_t>::max())));
}

}  // namespace

std::optional<frame_size> strip_frame_size(uint32_t pixel_width, uint32_t pixel_height, float scale, uint32_t frames) {
    if (frames == 0 || !(scale > 0.0f) || !std::isfinite(1.0f / scale)) return std::nullopt;
    return frame_size{saturate(dips(pixel_width, scale)), saturate(dips(pixel_height, scale) / frames)};
}

rect strip_frame_rect(const frame_size& frame, uint32_t index) {
    return {0, saturate(int64_t{index} * frame.height), frame.width, frame.height};
}

rect centred_frame(const frame_size& frame, int32_t width, int32_t height) {
    return {saturate((int64_t{width} - frame.width) / 2), saturate((int64_t{height} - frame.height) / 2), frame.width,
            frame.height};
}

}  // namespace qssdk::ui
