// A small modal question window: an image, a centred message and the buttons NO and YES. show_modal
// returns 1 for YES and 0 for NO (or Escape, or closing the window). The default answer's button has the
// focus at first; Enter or Space answer with the focused button, Enter with the default when neither has it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "event_info.h"
#include "flow_panel.h"
#include "image.h"
#include "point.h"
#include "text_label.h"
#include "window.h"
#include "RoundedButton.h"

namespace installer {

class NotificationPopup : public qssdk::ui::window {
public:
    static constexpr int32_t yes = 1;
    static constexpr int32_t no = 0;
    static constexpr int32_t width = 400;

    NotificationPopup();
    ~NotificationPopup() override;

    // Alias message_popup_window_margins and message_popup_component_margins on the root widget's style
    // first; then setup, then show_modal.
    void setup(qssdk::ui::window* owner, const std::string& title, const std::string& text, int32_t default_answer);

    qssdk::ui::text_label& message() { return message_label_; }
    RoundedButton& yes_button() { return yes_button_; }
    RoundedButton& no_button() { return no_button_; }
    qssdk::ui::point image_position() const { return image_position_; }

private:
    void paint();
    void on_key_down(const qssdk::ui::event_info& e);
    void on_button_clicked(const qssdk::ui::event_info& e);

    // Declared so that they go in the order the popup tears down: image, flow, label, NO, YES.
    RoundedButton yes_button_;
    RoundedButton no_button_;
    qssdk::ui::text_label message_label_;
    qssdk::ui::flow_panel button_flow_{qssdk::ui::flow_direction::horizontal, false};
    std::unique_ptr<qssdk::ui::image> popup_image_ = qssdk::ui::image::create();
    qssdk::ui::point image_position_{0, 0};
    int32_t default_answer_ = no;
};

// Where setup puts the parts, from the margins, the image size and the label's fitted height.
struct PopupLayout {
    qssdk::ui::point image;
    qssdk::ui::rect label;       // before fitting: the height is the label's own
    qssdk::ui::rect buttons;
    std::int32_t client_height = 0;
};
PopupLayout popup_layout(std::int32_t margin_x, std::int32_t margin_y, std::int32_t component_margin,
                         std::int32_t image_width, std::int32_t image_height, std::int32_t label_height);

}  // namespace installer
