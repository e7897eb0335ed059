#include "NotificationPopup.h"

#include <functional>

#include "event_binding.h"
#include "input_codes.h"
#include "painter.h"

namespace installer {

using namespace qssdk::ui;

namespace {

constexpr int32_t initial_height = 200;
constexpr int32_t label_height = 100;
constexpr int32_t button_width = 100;
constexpr int32_t button_height = 30;
constexpr int32_t button_gap = 20;
constexpr color transparent{0.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

PopupLayout popup_layout(int32_t mx, int32_t my, int32_t c, int32_t iw, int32_t ih, int32_t label_h) {
    PopupLayout l;
    l.image = {(NotificationPopup::width - iw) / 2, my};
    l.label = {mx, my + ih + c, NotificationPopup::width - 2 * mx, label_h};
    l.buttons = {mx, l.label.y + label_h + c, NotificationPopup::width - 2 * mx, button_height};
    l.client_height = l.buttons.y + l.buttons.height + c;
    return l;
}

NotificationPopup::NotificationPopup() = default;

NotificationPopup::~NotificationPopup() = default;

void NotificationPopup::setup(window* owner, const std::string& title, const std::string& text,
                              int32_t default_answer) {
    default_answer_ = default_answer;
    if (owner) set_owner(owner);
    create(title, {0, 0, width, initial_height}, 0);
    widget& root = get_root_widget();
    bind_handler(&root, event_id::paint, std::bind(&NotificationPopup::paint, this), this);

    const style& s = root.get_style();
    const auto [mx, my] = s.get("message_popup_window_margins").as_pair();
    const int32_t c = s.get("message_popup_component_margins").as_pair().first;
    popup_image_->load(s.get("message_popup_image").as_image());
    const size image_size = popup_image_->is_loaded() ? popup_image_->get_size() : size{0, 0};
    const PopupLayout first = popup_layout(mx, my, c, image_size.width, image_size.height, label_height);
    image_position_ = first.image;

    style& ls = message_label_.get_style();
    ls.set_alias("label_font_size", "notifications_text_font_size");
    ls.set_alias("label_font_color", "notifications_text_font_color");
    ls.set_alias("label_font_name", "notifications_text_font_name");
    ls.set_alias("label_text_align", "notifications_text_alignment");
    message_label_.create(&root, first.label);
    message_label_.set_background_color(transparent);
    message_label_.set_text(text, false, true);

    const PopupLayout placed =
        popup_layout(mx, my, c, image_size.width, image_size.height, message_label_.get_rect().height);
    button_flow_.create(&root, placed.buttons);
    button_flow_.add_space(flow_item_kind::stretch_space);
    use_rounded_look(no_button_, false);
    no_button_.create(&button_flow_, {0, 0, button_width, button_height});
    button_flow_.add_space(flow_item_kind::fixed_space, button_gap);
    use_rounded_look(yes_button_, true);
    yes_button_.create(&button_flow_, {0, 0, button_width, button_height});
    button_flow_.add_space(flow_item_kind::stretch_space);
    button_flow_.layout();

    no_button_.set_text("NO");
    bind_member_handler(&no_button_, event_id::clicked, &NotificationPopup::on_button_clicked, this);
    yes_button_.set_text("YES");
    bind_member_handler(&yes_button_, event_id::clicked, &NotificationPopup::on_button_clicked, this);
    set_focus_widget(default_answer == yes ? &yes_button_ : &no_button_, 0);

    set_rect({root.get_rect().x, root.get_rect().y, width, placed.client_height});
    bind_member_handler(this, event_id::key_down, &NotificationPopup::on_key_down, this);
    center();
}

void NotificationPopup::paint() {
    painter& p = *get_painter();
    const widget& root = get_root_widget();
    p.set_fill_color(root.get_style().get("notifications_back_color").color);
    p.fill_rect({0, 0, root.get_rect().width, root.get_rect().height});
    p.draw_image(image_position_, *popup_image_);
}

void NotificationPopup::on_key_down(const event_info& e) {
    // A focused button answers Enter itself, before the window hears it.
    const widget* focus = get_focus_widget();
    if (e.value == key_enter && focus != &yes_button_ && focus != &no_button_) end_modal(default_answer_);
    if (e.value == key_escape) end_modal(no);
}

void NotificationPopup::on_button_clicked(const event_info& e) {
    if (e.source == &yes_button_) end_modal(yes);
    if (e.source == &no_button_) end_modal(no);
}

}  // namespace installer
