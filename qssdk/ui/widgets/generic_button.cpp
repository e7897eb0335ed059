// The button's handlers and paint.
#include "generic_button.h"

#include <functional>

#include "event_binding.h"
#include "event_manager.h"
#include "image_strip.h"
#include "painter.h"
#include "style_key_event.h"
#include "text_codes.h"

namespace qssdk::ui {

namespace {

constexpr std::string_view back_image_key = "button_back_image";
constexpr uint32_t clicked_phase = 2;
constexpr uint32_t clicked_flag = 1;
constexpr float disabled_alpha = 0.5f;
constexpr float border_width = 1.0f;

}  // namespace

generic_button::generic_button() {
    set_tab_stop(true);
    using std::placeholders::_1;
    bind_handler(this, event_id::paint, std::bind(&generic_button::paint, this), this);
    bind_handler(this, event_id::mouse_enter, std::bind(&generic_button::on_mouse_enter, this), this);
    bind_handler(this, event_id::mouse_leave, std::bind(&generic_button::on_mouse_leave, this), this);
    bind_handler(this, event_id::focus_lost, std::bind(&generic_button::on_focus_changed, this), this);
    bind_handler(this, event_id::focus_gained, std::bind(&generic_button::on_focus_changed, this), this);
    bind_handler(this, event_id::mouse_down, std::bind(&generic_button::on_mouse_down, this, _1), this);
    bind_handler(this, event_id::mouse_up, std::bind(&generic_button::on_mouse_up, this, _1), this);
    bind_handler(this, event_id::key_down, std::bind(&generic_button::on_key_down, this, _1), this);
    bind_handler(this, event_id::key_up, std::bind(&generic_button::on_key_up, this, _1), this);
    bind_handler(this, event_id::style_changed, std::bind(&generic_button::on_style_changed, this, _1), this);
    // Disabling cancels hover and press as leaving does.
    bind_handler(this, event_id::disabled, std::bind(&generic_button::on_mouse_leave, this), this);
}

void generic_button::set_text(const std::string& text) {
    text_ = text;
    redraw(false);
}

void generic_button::on_mouse_enter() {
    state_.mouse_enter();
    redraw(false);
}

void generic_button::on_mouse_leave() {
    state_.mouse_leave();
    redraw(false);
}

void generic_button::on_focus_changed() {
    state_.focus_changed();
    redraw(false);
}

void generic_button::on_mouse_down(const event_info& e) {
    state_.mouse_down(e.value);
    redraw(false);
}

void generic_button::on_mouse_up(const event_info& e) { react(state_.mouse_up(e.value)); }

void generic_button::on_key_down(const event_info& e) { react(state_.key_down(e.value)); }

void generic_button::on_key_up(const event_info& e) { react(state_.key_up(e.value)); }

void generic_button::react(const button_reaction& r) {
    if (r.redraw) redraw(false);
    if (r.clicked)
        event_manager::instance().fire(this, event_id::clicked, clicked_phase, clicked_flag, state_.toggled() ? 1 : 0);
}

void generic_button::on_style_changed(const event_info& e) {
    // The next paint loads the new picture.
    if (names_style_key(e, back_image_key) && image_->is_loaded()) image_->reset();
    redraw(false);
}

void generic_button::paint_image(painter& p, int32_t width, int32_t height, bool enabled) {
    const image_data value = get_style().get(back_image_key).as_image();
    // A strip of no frames has no frame height: it counts as no image.
    if (value.size == 0 || value.frames == 0) return;
    if (!image_->is_loaded() && !image_->load(value)) return;
    const std::optional<size> frame = strip_frame_size(image_->get_size(), value.frames);
    const std::optional<uint32_t> index = button_frame(value.frames, state_, enabled);
    if (!frame || !index) return;
    const rect source = strip_frame_rect(*frame, *index);
    if (get_style().get("button_back_image_strech").as_flag()) {
        p.draw_image_part_stretched({0, 0, width, height}, *image_, source);
    } else {
        // Placed from the current size, so that the image stays centred after a resize.
        const rect placed = centred_frame(*frame, width, height);
        p.draw_image_part({placed.x, placed.y}, *image_, source);
    }
}

void generic_button::paint() {
    painter& p = *get_window()->get_painter();
    const qssdk::ui::style& s = get_style();
    const int32_t w = get_rect().width, h = get_rect().height;
    const bool enabled = is_enabled() && is_parent_enabled();
    const auto colour = [&](std::string_view key) {
        color c = s.get(key).color;
        if (!enabled) c.a *= disabled_alpha;
        return c;
    };

    const char* back = state_.pressed()   ? "button_color_pressed"
                       : state_.toggled() ? "button_color_toggle"
                       : state_.hover()   ? "button_color_hover"
                                          : "button_color_normal";
    p.set_fill_color(colour(back));
    p.fill_rect({0, 0, w, h});
    paint_image(p, w, h, enabled);

    // The border: hover beats focus, focus beats normal.
    p.set_text_color(colour("button_font_color"));
    p.set_stroke_style(stroke_code_solid);
    p.set_pen(colour("button_border_color_normal"), border_width);
    if (get_window()->get_focus_widget() == this) {
        p.set_stroke_style(stroke_code_dotted);
        p.set_pen(colour("button_border_color_focus"), border_width);
    }
    if (state_.hover()) {
        p.set_stroke_style(stroke_code_solid);
        p.set_pen(colour("button_border_color_hover"), border_width);
        p.set_text_color(colour("button_font_color_hover"));
    }
    if (state_.pressed()) p.set_text_color(colour("button_font_color_pressed"));
    p.draw_rect({0, 0, w, h});
    p.set_stroke_style(stroke_code_solid);

    p.set_font(s.get("button_font_name").as_text(), s.get_float("button_font_size"),
               s.get("button_font_weight").as_uint(), s.get("button_font_style").as_uint(),
               s.get("button_text_underlined").as_flag());
    p.set_text_alignment(s.get("button_font_alignment").as_uint(), s.get("button_font_vertical_alignment").as_uint());
    if (!text_.empty()) p.context().draw_text({0, 0, w, h}, text_, {});
}

}  // namespace qssdk::ui
