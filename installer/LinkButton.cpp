#include "LinkButton.h"

#include <functional>

#include "cursor_table.h"
#include "event_binding.h"
#include "set_cursor.h"

namespace installer {

using namespace qssdk::ui;

LinkButton::LinkButton() { bind_handler(this, event_id::attached, std::bind(&LinkButton::on_attached, this), this); }

void LinkButton::on_attached() {
    if (handlers_connected_) return;
    handlers_connected_ = true;
    bind_member_handler(this, event_id::mouse_enter, &LinkButton::on_hover, this);
    bind_member_handler(this, event_id::mouse_leave, &LinkButton::on_hover, this);
    bind_handler(this, event_id::hidden, std::bind(&LinkButton::on_hidden, this), this);
}

void LinkButton::on_hover(const event_info& e) {
    const bool entered = e.id == static_cast<uint32_t>(event_id::mouse_enter);
    if (!entered && e.id != static_cast<uint32_t>(event_id::mouse_leave)) return;
    get_style().set_flag("button_text_underlined", entered);
    set_cursor(entered ? cursor_index::hand : cursor_index::arrow);
    redraw(false);
}

void LinkButton::on_hidden() {
    // Hidden under the pointer, it gets no leave: neither the hand nor the underline may stay behind.
    set_cursor(cursor_index::arrow);
    get_style().set_flag("button_text_underlined", false);
}

}  // namespace installer
