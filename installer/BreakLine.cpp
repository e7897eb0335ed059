#include "BreakLine.h"

#include "painter.h"
#include "text_codes.h"

namespace installer {

void BreakLine::paint() {
    qssdk::ui::painter& p = *get_window()->get_painter();
    const int w = get_rect().width, h = get_rect().height;
    p.set_stroke_style(qssdk::ui::stroke_code_solid);
    p.set_pen(get_style().get("breakline_color").color, 1.0f);
    p.draw_line({0, h / 2}, {w, h / 2});
}

}  // namespace installer
