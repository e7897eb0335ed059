#include "message_popup_layout.h"

#include <algorithm>
#include <cmath>

#include "text_codes.h"

namespace qssdk::ui {

namespace {

constexpr int32_t text_height_limit = 1000;
constexpr int32_t text_code_leading = 0;
constexpr int32_t text_code_trailing = 2;

}  // namespace

int32_t popup_image_block_width(const message_popup_metrics& m) {
    return m.image.width > 0 || m.image.height > 0 ? m.image.width + m.margins.x : 0;
}

qssdk::ui::size popup_text_limit(const message_popup_metrics& m) {
    return {m.requested_width - 2 * m.margins.x - popup_image_block_width(m), text_height_limit};
}

message_popup_geometry layout_message_popup(const message_popup_metrics& m, const qssdk::ui::size& text_size) {
    const int32_t mx = m.margins.x, my = m.margins.y, image_block = popup_image_block_width(m);
    message_popup_geometry g;
    g.client.width = std::max(m.requested_width, 2 * mx + text_size.width + image_block);
    const int32_t frame = m.check_box.height + 2 * (m.component_margin + my) + m.button.height;
    g.client.height = frame + std::max(image_block > 0 ? m.image.height : 0, text_size.height);
    int32_t text_height = text_size.height;
    if (m.max_client_height > 0 && g.client.height > m.max_client_height) {
        g.client.height = m.max_client_height;
        const int32_t room = std::max(g.client.height - frame, 0);
        g.text_cut = text_height > room;
        if (g.text_cut) {
            const float whole_lines = m.line_height > 0.0f ? std::floor(static_cast<float>(room) / m.line_height) : 0;
            text_height = m.line_height > 0.0f ? static_cast<int32_t>(std::lround(whole_lines * m.line_height)) : room;
        }
    }
    g.text = {mx + image_block, my, g.client.width - 2 * mx - image_block, text_height};
    const int32_t button_y = g.client.height - m.button.height - my;
    switch (m.button_align) {
    case popup_button_align_left:
        g.button = rect{mx, button_y, m.button.width, m.button.height};
        break;
    case popup_button_align_center:
        g.button = rect{(g.client.width - m.button.width) / 2, button_y, m.button.width, m.button.height};
        break;
    case popup_button_align_right:
        g.button = rect{g.client.width - m.button.width - mx, button_y, m.button.width, m.button.height};
        break;
    default:
        break;
    }
    return g;
}

uint32_t popup_text_alignment(int32_t code) {
    switch (code) {
    case text_code_leading:
        return align_code_leading;
    case text_code_trailing:
        return align_code_trailing;
    default:
        return align_code_center;
    }
}

}  // namespace qssdk::ui
