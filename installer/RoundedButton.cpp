#include "RoundedButton.h"

#include <cmath>

#include "painter.h"
#include "text_codes.h"

namespace installer {

namespace {

constexpr int32_t focus_ring_width = 1;

}  // namespace

void RoundedButton::paint() {
    using namespace qssdk::ui;
    painter& p = *get_window()->get_painter();
    const style& s = get_style();
    const int32_t w = get_rect().width, h = get_rect().height;
    const bool enabled = is_enabled() && is_parent_enabled();
    const bool hover = state().hover();
    const int32_t r = static_cast<int32_t>(std::lround(h * 0.5));

    // The keyboard focus, which Enter acts on, rings the pill in the focus border colour; as on the kit's
    // button, the pointer's hover look takes its place.
    const bool focus_ring = enabled && !hover && get_window()->get_focus_widget() == this;
    const auto pill = [&](int32_t inset) {
        const float radius = h * 0.5f - static_cast<float>(inset);
        p.fill_circle({r, r}, radius);
        p.fill_circle({w - r, r}, radius);
        p.fill_rect({r, inset, w - 2 * r, h - 2 * inset});
    };
    if (focus_ring) {
        p.set_fill_color(s.get("button_border_color_focus").color);
        pill(0);
    }
    p.set_fill_color(s.get(!enabled ? "rounded_button_back_color_disabled"
                           : hover  ? "button_color_hover"
                                    : "button_color_normal")
                         .color);
    pill(focus_ring ? focus_ring_width + 1 : 1);

    color text = s.get("button_font_color").color;
    if (hover) text = s.get("button_font_color_hover").color;
    if (!enabled) text = s.get("rounded_button_font_color_disabled").color;
    p.set_text_color(text);
    p.set_font(s.get("button_font_name").as_text(), s.get_float("button_font_size"),
               s.get("button_font_weight").as_uint(), s.get("button_font_style").as_uint(), false);
    p.set_text_alignment(align_code_center, valign_code_center);
    if (!get_text().empty()) p.context().draw_text({0, 0, w, h}, get_text(), {});
}

void use_rounded_look(RoundedButton& button, bool next) {
    qssdk::ui::style& s = button.get_style();
    s.set_alias("button_color_normal", next ? "rounded_button_next_back_color_normal" : "rounded_button_back_color_normal");
    s.set_alias("button_color_hover", next ? "rounded_button_next_back_color_hover" : "rounded_button_back_color_hover");
    s.set_alias("button_font_color", next ? "rounded_button_font_color_hover" : "rounded_button_font_color_normal");
    s.set_alias("button_font_color_hover", "rounded_button_font_color_hover");
    s.set_alias("button_font_name", "rounded_button_font_name");
    s.set_alias("button_font_size", "rounded_button_font_size");
}

}  // namespace installer
