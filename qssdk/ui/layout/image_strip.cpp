// Image strip frames.
#include "image_strip.h"

#include "saturate.h"

namespace qssdk::ui {

std::optional<size> strip_frame_size(const size& image, uint32_t frames) {
    if (frames == 0) return std::nullopt;
    return size{image.width, saturate_int32(int64_t{image.height} / frames)};
}

rect strip_frame_rect(const size& frame, uint32_t index) {
    return {0, saturate_int32(int64_t{index} * frame.height), frame.width, frame.height};
}

rect centred_frame(const size& frame, int32_t width, int32_t height) {
    return {saturate_int32((int64_t{width} - frame.width) / 2), saturate_int32((int64_t{height} - frame.height) / 2),
            frame.width, frame.height};
}

}  // namespace qssdk::ui
