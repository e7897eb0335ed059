// The check box's handlers, layout and paint.
#include "check_box.h"

#include <functional>

#include "event_binding.h"
#include "image_strip.h"
#include "input_codes.h"
#include "painter.h"
#include "style_key_event.h"
#include "text_codes.h"

namespace qssdk::ui {

namespace {

constexpr std::string_view box_image_key = "checkbox_image";
// The placement of a freshly attached check box.
constexpr int32_t attach_placement = static_cast<int32_t>(check_placement::box_then_text_centred);
constexpr float focus_border_width = 1.0f;
constexpr float enabled_text_alpha = 1.0f;
constexpr float disabled_text_alpha = 0.5f;

}  // namespace

check_box::check_box() {
    set_name("check_box");
    set_tab_stop(true);
    bind_handler(this, event_id::attached, std::bind(&check_box::on_attached, this), this);
}

void check_box::on_attached() {
    if (handlers_bound_) {
        update_layout(placement_, text_gap_);
        return;
    }
    handlers_bound_ = true;
    using std::placeholders::_1;
    bind_handler(this, event_id::paint, std::bind(&check_box::paint, this), this);
    bind_handler(this, event_id::mouse_up, std::bind(&check_box::on_mouse_up, this), this);
    bind_handler(this, event_id::mouse_enter, std::bind(&check_box::set_hover, this, true), this);
    bind_handler(this, event_id::mouse_leave, std::bind(&check_box::set_hover, this, false), this);
    bind_handler(this, event_id::focus_lost, std::bind(&widget::redraw, this, false), this);
    bind_handler(this, event_id::focus_gained, std::bind(&widget::redraw, this, false), this);
    bind_handler(this, event_id::key_up, std::bind(&check_box::on_key_up, this, _1), this);
    bind_handler(this, event_id::style_changed, std::bind(&check_box::on_style_changed, this, _1), this);
    update_layout(attach_placement, text_gap_);
    // The owner enables it once it is ready (typically after linking its value).
    set_enabled(false);
}

void check_box::set_hover(bool on) {
    hover_ = on;
    redraw(false);
}

void check_box::on_mouse_up() { toggle(); }

void check_box::on_key_up(const event_info& e) {
    if (e.value == key_space) toggle();
}

void check_box::on_style_changed(const event_info& e) {
    if (names_style_key(e, box_image_key)) image_->reset();
    update_layout(placement_, text_gap_);
    redraw(false);
}

void check_box::set_checked(bool on) {
    state_.set(on);
    redraw(false);
}

void check_box::toggle() {
    state_.toggle(*this, [this] { redraw(false); });
}

void check_box::set_text_font(painter& p) const {
    const qssdk::ui::style& s = get_style();
    p.set_font(s.get("checkbox_font_name").as_text(), s.get_float("checkbox_font_size"),
               s.get("checkbox_font_weight").as_uint(), s.get("checkbox_font_style").as_uint(), false);
}

void check_box::update_layout(int32_t placement, int32_t gap) {
    text_gap_ = gap;
    size text;
    if (painter* p = get_window() ? get_window()->get_painter() : nullptr) {
        set_text_font(*p);
        p->set_text_alignment(align_code_leading, valign_code_top);
        if (!text_.empty()) text = p->context().measure_text(text_, {0, 0}, {});
    }
    const image_data value = get_style().get(box_image_key).as_image();
    // A strip of no frames has no frame height: it is never loaded, and box_size_ stays.
    if (value.size != 0 && value.frames != 0 && !image_->is_loaded() && image_->load(value))
        box_size_ = *strip_frame_size(image_->get_size(), value.frames);
    const check_box_sizes sizes{get_rect().width, get_rect().height, box_size_.width, box_size_.height,
                                text.width, text.height, text_gap_};
    layout_ = place_check_box(static_cast<check_placement>(placement), sizes, layout_);
    placement_ = placement;
    redraw(false);
}

void check_box::set_text(std::string_view text) {
    text_.assign(text);
    update_layout(placement_, text_gap_);
    redraw(false);
}

void check_box::paint() {
    painter& p = *get_window()->get_painter();
    const qssdk::ui::style& s = get_style();
    const bool enabled = is_enabled() && is_parent_enabled();
    p.set_fill_color(s.get("checkbox_back_color").color);
    p.fill_rect({0, 0, get_rect().width, get_rect().height});

    const uint32_t frames = s.get(box_image_key).as_image().frames;
    if (const std::optional<uint32_t> frame = check_box_frame(frames, state_.checked(), enabled, hover_))
        p.draw_image_part({layout_.box.x, layout_.box.y}, *image_, strip_frame_rect(box_size_, *frame));

    p.set_pen(s.get(hover_ ? "checkbox_border_color_hover" : "checkbox_border_color_normal").color,
              s.get_float("checkbox_border_width"));
    p.set_stroke_style(stroke_code_solid);
    p.draw_rect(layout_.box);
    if (get_window()->get_focus_widget() == this && !hover_) {
        p.set_stroke_style(stroke_code_dotted);
        p.set_pen(s.get("checkbox_border_color_focus").color, focus_border_width);
        p.draw_rect(layout_.box);
        p.set_stroke_style(stroke_code_solid);
    }

    color text_colour = s.get("checkbox_font_color").color;
    text_colour.a = enabled ? enabled_text_alpha : disabled_text_alpha;
    p.set_text_color(text_colour);
    set_text_font(p);
    p.set_text_alignment(align_code_leading, valign_code_center);
    if (!text_.empty()) p.context().draw_text(layout_.text, text_, {});
}

}  // namespace qssdk::ui
