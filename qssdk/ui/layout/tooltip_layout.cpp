#include "tooltip_layout.h"

#include <algorithm>

namespace qssdk::ui {

namespace {

constexpr int32_t side_margin = 8;
constexpr int32_t top_margin = 4;
constexpr int32_t title_text_gap = 2;

}  // namespace

rect tooltip_layout::title_box(int32_t client_width) const {
    return {side_margin, top_margin, client_width - 2 * side_margin, title.height};
}

rect tooltip_layout::text_box(int32_t client_width) const {
    return {side_margin, top_margin + title.height + line_gap, client_width - 2 * side_margin, text.height};
}

tooltip_layout layout_tooltip(point position, bool has_title, size title, bool has_text, size text) {
    tooltip_layout l;
    l.title = has_title ? title : size{};
    l.text = has_text ? text : size{};
    l.line_gap = has_title && has_text ? title_text_gap : 0;
    l.content = {std::max(l.title.width, l.text.width), l.title.height + l.line_gap + l.text.height};
    l.window = {position.x, position.y, l.content.width + 2 * side_margin, l.content.height + 2 * top_margin};
    return l;
}

}  // namespace qssdk::ui
