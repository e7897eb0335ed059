// The scroll bar's arithmetic.
#include "scroll_bar_math.h"

#include <algorithm>

#include "saturate.h"

namespace qssdk::ui {

namespace {

bool known(scroll_orientation o) { return o == scroll_orientation::vertical || o == scroll_orientation::horizontal; }

// Along the axis: start and length of a rect.
int32_t start_of(const rect& r, bool vertical) { return vertical ? r.y : r.x; }
int32_t length_of(const rect& r, bool vertical) { return vertical ? r.height : r.width; }

// Positions past max_value or before 0 ask for nothing the content could show.
int32_t clamp_position(double position, int32_t max_value) {
    return std::clamp(truncate_to_int32(position), 0, std::max(max_value, 0));
}

}  // namespace

scroll_metrics measure_scroll_bar(const scroll_bar_shape& shape, const std::optional<scroll_content>& content) {
    scroll_metrics m;
    if (!known(shape.orientation)) return m;
    const bool vertical = shape.orientation == scroll_orientation::vertical;
    const int64_t w = std::max(shape.width, 0), h = std::max(shape.height, 0);
    const int64_t length = vertical ? h : w;
    if (shape.show_buttons) {
        const int32_t side = saturate_int32(vertical ? w : h);
        m.first_button = {0, 0, side, side};
        m.second_button = vertical ? rect{0, saturate_int32(h - side), side, side}
                                   : rect{saturate_int32(w - side), 0, side, side};
    }
    const int64_t b = length_of(m.first_button, vertical);
    const int64_t track = std::max<int64_t>(length - 2 * b, 0);

    int64_t thumb = track;
    if (content) {
        m.max_value = saturate_int32(std::max<int64_t>(int64_t{content->length} - content->viewport_length, 0));
        const int64_t scrolled = -int64_t{content->offset};
        m.value = saturate_int32(std::clamp<int64_t>(scrolled, 0, m.max_value));
        m.overruns = scrolled > m.max_value;
        thumb = std::clamp<int64_t>(std::max<int64_t>(shape.min_thumb, track - m.max_value), 0, track);
        if (m.max_value != 0) m.ratio = static_cast<float>(track - thumb) / static_cast<float>(m.max_value);
    }
    const int64_t start = std::min<int64_t>(thumb_travel(m), track - thumb) + b;
    m.thumb = vertical ? rect{0, saturate_int32(start), saturate_int32(w), saturate_int32(thumb)}
                       : rect{saturate_int32(start), 0, saturate_int32(thumb), saturate_int32(h)};
    return m;
}

scroll_part scroll_hit(const scroll_bar_shape& shape, const scroll_metrics& m, int32_t x, int32_t y) {
    if (!known(shape.orientation)) return scroll_part::none;
    if (m.thumb.contains_with_edges(x, y)) return scroll_part::thumb;
    if (m.first_button.contains_with_edges(x, y)) return scroll_part::first_button;
    if (m.second_button.contains_with_edges(x, y)) return scroll_part::second_button;
    const bool vertical = shape.orientation == scroll_orientation::vertical;
    const int64_t p = vertical ? y : x;
    const int64_t start = start_of(m.thumb, vertical);
    if (p < start) return scroll_part::track_before;
    if (p > start + length_of(m.thumb, vertical)) return scroll_part::track_after;
    return scroll_part::none;
}

std::optional<int32_t> track_click_position(const scroll_bar_shape& shape, const scroll_metrics& m, scroll_part part,
                                            int32_t x, int32_t y) {
    if (!known(shape.orientation) || m.ratio <= 0.0f) return std::nullopt;
    const bool vertical = shape.orientation == scroll_orientation::vertical;
    const double p = static_cast<double>(vertical ? y : x) - length_of(m.first_button, vertical);
    switch (part) {
    case scroll_part::track_before: return clamp_position(p / m.ratio, m.max_value);
    case scroll_part::track_after:
        return clamp_position((p - length_of(m.thumb, vertical)) / m.ratio, m.max_value);
    default: return std::nullopt;
    }
}

int32_t thumb_travel(const scroll_metrics& m) { return truncate_to_int32(static_cast<double>(m.value) * m.ratio); }

std::optional<int32_t> drag_position(const scroll_metrics& m, int32_t travel) {
    if (m.ratio <= 0.0f) return std::nullopt;
    return clamp_position(travel / static_cast<double>(m.ratio), m.max_value);
}

int32_t snap_scroll_position(int32_t position, int32_t step) {
    if (step == 0) return position;
    return saturate_int32(int64_t{position} - int64_t{position} % step);
}

int32_t content_offset_for_position(int32_t position, int32_t max_value) {
    return saturate_int32(std::clamp<int64_t>(-int64_t{position}, -int64_t{std::max(max_value, 0)}, 0));
}

int32_t content_offset_scrolled_by(int32_t offset, int32_t delta, int32_t max_value) {
    return saturate_int32(std::clamp<int64_t>(int64_t{offset} + delta, -int64_t{std::max(max_value, 0)}, 0));
}

int32_t wheel_scroll_delta(double value) { return truncate_to_int32(value); }

std::optional<int32_t> fitted_content_offset(const scroll_content& content) {
    const int64_t far_edge = int64_t{content.offset} + content.length;
    if (content.offset >= 0 || far_edge >= content.viewport_length) return std::nullopt;
    return saturate_int32(std::min<int64_t>(int64_t{content.viewport_length} - content.length, 0));
}

}  // namespace qssdk::ui
