// The effect's modal message box: a captioned kit window with the style's image at the left, a block of
// wrapped text, an OK button and a "Do not show this again" check box that stays hidden. Its look comes
// from the message_popup_* style keys of its root widget.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "check_box.h"
#include "event_info.h"
#include "generic_button.h"
#include "image.h"
#include "message_popup_layout.h"
#include "size.h"
#include "window.h"

namespace qssdk::ui {

class message_popup : public window {
public:
    // OK closes with this; Enter and Escape close with 0.
    static constexpr int32_t result_ok = 1;
    static constexpr int32_t result_dismissed = 0;

    explicit message_popup(const qssdk::ui::size& requested_size);

    // Makes the window under owner (may be null) with title and text, lays it out and centres it on
    // the owner. show_modal then runs it.
    void setup(window* owner, const std::string& title, std::string text);

    const rect& text_rect() const { return text_rect_; }
    const generic_button& ok_button() const { return ok_button_; }
    const check_box& dont_show_check_box() const { return dont_show_check_box_; }
    bool dont_show_again() const { return dont_show_again_; }
    // The image block's size in DIPs; {0, 0} while no image is loaded.
    qssdk::ui::size image_size() const;

private:
    void layout();
    void paint();
    void apply_text_font();
    // One line's height in the text's font (DIPs), which apply_text_font has set.
    float line_pitch();
    void on_key_down(const event_info& e);
    void on_button_clicked(const event_info& e);
    void on_style_changed(const event_info& e);
    // Keys set on the popup reach its children.
    void copy_style_to_check_box();
    void copy_style_to_button();
    message_popup_metrics metrics() const;

    generic_button ok_button_;
    check_box dont_show_check_box_;
    bool dont_show_again_ = false;
    int32_t button_width_ = 100;
    int32_t button_height_ = 30;
    rect text_rect_{};
    bool text_cut_ = false;
    qssdk::ui::size requested_size_;
    std::string text_;
    std::unique_ptr<image> popup_image_ = image::create();
};

}  // namespace qssdk::ui
