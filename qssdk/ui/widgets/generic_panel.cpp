// The panel's paint.
#include "generic_panel.h"

#include <functional>

#include "event_binding.h"
#include "painter.h"
#include "text_codes.h"

namespace qssdk::ui {

generic_panel::generic_panel() {
    // Bound through the virtual, so a subclass's paint is what runs.
    bind_handler(this, event_id::paint, std::bind(&generic_panel::paint, this), this);
}

void generic_panel::paint() {
    painter& p = *get_window()->get_painter();
    const rect whole{0, 0, get_rect().width, get_rect().height};
    const qssdk::ui::style& s = get_style();
    p.set_fill_color(s.get("default_back_color").color);
    p.fill_rect(whole);
    p.set_stroke_style(stroke_code_solid);
    p.set_pen(s.get("default_border_color").color, s.get_float("default_border_width"));
    p.draw_rect(whole);
}

}  // namespace qssdk::ui
