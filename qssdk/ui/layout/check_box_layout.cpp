// Check box placement and frames.
#include "check_box_layout.h"

#include <algorithm>

#include "saturate.h"

namespace qssdk::ui {

namespace {

constexpr uint32_t checked_frame = 1;
constexpr uint32_t hover_frames = 2;
constexpr uint32_t frames_with_hover = 4;

}  // namespace

check_box_layout place_check_box(check_placement placement, const check_box_sizes& s,
                                 const check_box_layout& previous) {
    const int64_t w = s.width, bw = s.box_width, tw = s.text_width;
    const int64_t g = s.text_width >= 1 ? s.gap : 0;
    const int64_t centred = (w - bw - g - tw) / 2;
    int64_t box_x = previous.box.x, text_x = previous.text.x;
    switch (placement) {
    case check_placement::box_then_text: box_x = 0, text_x = bw + g; break;
    case check_placement::box_then_text_right: box_x = w - bw - g - tw, text_x = w - tw; break;
    case check_placement::box_then_text_centred: box_x = centred, text_x = centred + bw + g; break;
    case check_placement::box_left_text_right: box_x = 0, text_x = w - tw; break;
    case check_placement::text_then_box: box_x = g + tw, text_x = 0; break;
    case check_placement::text_then_box_right: box_x = w - bw, text_x = w - bw - g - tw; break;
    case check_placement::text_then_box_centred: box_x = centred + g + tw, text_x = centred; break;
    case check_placement::text_left_box_right: box_x = w - bw, text_x = 0; break;
    }
    return {{saturate_int32(box_x), saturate_int32((int64_t{s.height} - s.box_height) / 2), s.box_width, s.box_height},
            {saturate_int32(text_x), saturate_int32((int64_t{s.height} - s.text_height) / 2), s.text_width,
             s.text_height}};
}

std::optional<uint32_t> check_box_frame(uint32_t frames, bool checked, bool enabled, bool hover) {
    if (frames == 0) return std::nullopt;
    if (frames == 1) return 0;
    return (checked && enabled ? checked_frame : 0) + (hover && frames >= frames_with_hover ? hover_frames : 0);
}

}  // namespace qssdk::ui
