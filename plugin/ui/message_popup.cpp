#include "message_popup.h"

#include <cstring>
#include <functional>

#include "event_binding.h"
#include "input_codes.h"
#include "painter.h"
#include "style_key_event.h"
#include "text_codes.h"

namespace qssdk::ui {

namespace {

constexpr int32_t window_height = 200;
constexpr int32_t check_box_height = 20;
// The check box's layout: text after the box, top-aligned, 5 DIPs apart.
constexpr int32_t check_box_placement = 2;
constexpr int32_t check_box_gap = 5;
constexpr rect initial_button_rect{280, 150, 100, 30};
constexpr std::string_view image_key = "message_popup_image";
// Lines measured together for the font's line pitch: one measure's rounding spreads over all of them.
constexpr int pitch_lines = 100;
// measure_text adds 1 to the laid-out height and truncates: the height was within the DIP below.
constexpr float measure_rounding = 0.5f;

}  // namespace

message_popup::message_popup(const qssdk::ui::size& requested_size) : requested_size_(requested_size) {}

qssdk::ui::size message_popup::image_size() const {
    if (!popup_image_->is_loaded()) return {};
    const float scale = popup_image_->scale();
    return {static_cast<int32_t>(static_cast<float>(popup_image_->pixel_width()) / scale),
            static_cast<int32_t>(static_cast<float>(popup_image_->pixel_height()) / scale)};
}

void message_popup::copy_style_to_check_box() { dont_show_check_box_.get_style() = get_root_widget().get_style(); }

void message_popup::copy_style_to_button() { ok_button_.get_style() = get_root_widget().get_style(); }

void message_popup::setup(window* owner, const std::string& title, std::string text) {
    if (owner) set_owner(owner);
    create(title, {0, 0, requested_size_.width, window_height});
    text_ = std::move(text);

    widget& root = get_root_widget();
    using std::placeholders::_1;
    bind_handler(&root, event_id::paint, std::bind(&message_popup::paint, this), this);
    bind_handler(&root, event_id::style_changed, std::bind(&message_popup::on_style_changed, this, _1), this);

    const style& s = root.get_style();
    const auto [mx, my] = s.get("message_popup_window_margins").as_pair();
    const int32_t cm = s.get("message_popup_component_margins").as_int();
    copy_style_to_check_box();
    copy_style_to_button();

    const int32_t root_width = root.get_rect().width;
    dont_show_check_box_.create(&root, {mx, 0, root_width - 2 * mx, check_box_height});
    dont_show_check_box_.set_text("Do not show this again");
    dont_show_check_box_.set_linked_value(&dont_show_again_);
    dont_show_check_box_.set_enabled(true);
    dont_show_again_ = false;
    dont_show_check_box_.redraw(false);
    dont_show_check_box_.update_layout(check_box_placement, check_box_gap);
    dont_show_check_box_.set_visible(false);

    text_rect_ = {mx, my, root_width - 2 * mx, check_box_height};

    ok_button_.create(&root, initial_button_rect);
    ok_button_.set_text("OK");
    ok_button_.redraw(false);
    bind_handler(&ok_button_, event_id::clicked, std::bind(&message_popup::on_button_clicked, this, _1), this);
    copy_style_to_button();
    set_focus_widget(&ok_button_, 0);

    // The check box keeps its height and sits above the button row.
    anchors a;
    a.bottom = true;
    a.bottom_margin = button_height_ + cm + my;
    dont_show_check_box_.set_anchors(a);
    dont_show_check_box_.apply_anchors(root.get_rect().width, root.get_rect().height);

    layout();
    bind_handler(this, event_id::key_down, std::bind(&message_popup::on_key_down, this, _1), this);
}

message_popup_metrics message_popup::metrics() const {
    const style& s = get_root_widget().get_style();
    message_popup_metrics m;
    m.requested_width = requested_size_.width;
    const auto [mx, my] = s.get("message_popup_window_margins").as_pair();
    m.margins = {mx, my};
    m.component_margin = s.get("message_popup_component_margins").as_int();
    m.image = image_size();
    if (dont_show_check_box_.is_visible(true)) {
        const rect& box = dont_show_check_box_.get_rect();
        m.check_box = {box.width, box.height};
    }
    m.button = {button_width_, button_height_};
    m.button_align = s.get("message_popup_button_align").as_int();
    m.max_client_height = max_client_height();
    return m;
}

void message_popup::apply_text_font() {
    const style& s = get_root_widget().get_style();
    painter& p = *get_painter();
    p.set_font(s.get("message_popup_font_name").as_text(), s.get_float("message_popup_font_size"),
               s.get("message_popup_font_weight").as_uint(), s.get("message_popup_font_style").as_uint(), false);
    p.set_text_alignment(popup_text_alignment(s.get("message_popup_text_align").as_int()), valign_code_top);
}

void message_popup::layout() {
    const image_data picture = get_root_widget().get_style().get(image_key).as_image();
    // An image that cannot be decoded takes no room and is not drawn.
    if (picture.size != 0 && !popup_image_->is_loaded())
        popup_image_->load_from_memory(picture.bytes, static_cast<size_t>(picture.size), picture.scale);

    message_popup_metrics m = metrics();
    apply_text_font();
    const qssdk::ui::size text_size =
        text_.empty() ? qssdk::ui::size{} : get_painter()->context().measure_text(text_, popup_text_limit(m), {});
    if (!text_.empty()) m.line_height = line_pitch();
    const message_popup_geometry g = layout_message_popup(m, text_size);

    const rect outer = get_rect();
    set_rect({outer.x, outer.y, g.client.width, g.client.height});
    text_rect_ = g.text;
    text_cut_ = g.text_cut;
    if (g.button) ok_button_.set_rect(*g.button, true);
    center();
}

void message_popup::paint() {
    widget& root = get_root_widget();
    const style& s = root.get_style();
    painter& p = *get_painter();
    p.set_fill_color(s.get("message_popup_back_color").color);
    p.fill_rect({0, 0, root.get_rect().width, root.get_rect().height});
    if (popup_image_->is_loaded()) {
        const auto [mx, my] = s.get("message_popup_window_margins").as_pair();
        const qssdk::ui::size picture = image_size();
        p.draw_image_stretched({mx, my, picture.width, picture.height}, *popup_image_);
    }
    p.set_text_color(s.get("message_popup_font_color").color);
    apply_text_font();
    if (!text_.empty()) p.context().draw_text(text_rect_, text_, {});
    // The lines of a cut text below its rect are covered again; the button is drawn over this afterwards.
    if (text_cut_) {
        p.set_fill_color(s.get("message_popup_back_color").color);
        const int32_t below = text_rect_.y + text_rect_.height;
        p.fill_rect({text_rect_.x, below, text_rect_.width, root.get_rect().height - below});
    }
}

float message_popup::line_pitch() {
    std::string lines = "A";
    for (int line = 1; line < pitch_lines; ++line) lines += "\nA";
    const float measured = static_cast<float>(get_painter()->context().measure_text(lines, {}, {}).height);
    return (measured - measure_rounding) / pitch_lines;
}

void message_popup::on_key_down(const event_info& e) {
    // With the OK button alone, Enter and Escape both dismiss.
    if (e.value == key_enter || e.value == key_escape) end_modal(result_dismissed);
}

void message_popup::on_button_clicked(const event_info&) { end_modal(result_ok); }

void message_popup::on_style_changed(const event_info& e) {
    if (names_style_key(e, image_key)) {
        if (popup_image_->is_loaded()) popup_image_->reset();
        layout();
    } else if (style_key_starts_with(e, "checkbox_")) {
        copy_style_to_check_box();
    } else if (style_key_starts_with(e, "button_")) {
        copy_style_to_button();
    } else {
        layout();
    }
}

}  // namespace qssdk::ui
