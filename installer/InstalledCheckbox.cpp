#include "InstalledCheckbox.h"

#include "painter.h"
#include "text_codes.h"

namespace installer {

void InstalledCheckbox::paint() {
    using namespace qssdk::ui;
    painter& p = *get_window()->get_painter();
    const style& s = get_style();
    const size& box = get_box_size();
    const rect source{0, is_checked() ? box.height : 0, box.width, box.height};
    p.draw_image_part({get_layout().box.x, get_layout().box.y}, get_box_image(), source);

    p.set_text_color(s.get("checkbox_font_color").color);
    p.set_font(s.get("checkbox_font_name").as_text(), s.get_float("checkbox_font_size"),
               s.get("checkbox_font_weight").as_uint(), s.get("checkbox_font_style").as_uint(), false);
    p.set_text_alignment(align_code_leading, valign_code_center);
    if (!get_text().empty()) p.context().draw_text(get_layout().text, get_text(), {});
}

}  // namespace installer
