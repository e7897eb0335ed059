// The kit's push button: a state-dependent background, an optional image strip with one frame per state,
// a border and a one-line text, all from the style keys beginning with button_. It follows hover, press,
// focus, Enter, Space and disabling, and fires 38 (clicked, value the toggle state) for a left release that
// follows a press on it, for Enter, or for the release of Space pressed on it. In toggle mode each activation flips the toggle state first.
#pragma once

#include <memory>
#include <string>

#include "button_state.h"
#include "event_info.h"
#include "image.h"
#include "widget.h"

namespace qssdk::ui {

class generic_button : public widget {
public:
    generic_button();

    void set_text(const std::string& text);
    const std::string& get_text() const { return text_; }
    void set_toggle_mode(bool on) { state_.toggle_mode = on; }
    const button_state& state() const { return state_; }

    virtual void paint();

private:
    void on_mouse_enter();
    void on_mouse_leave();
    void on_focus_changed();
    void on_mouse_down(const event_info& e);
    void on_mouse_up(const event_info& e);
    void on_key_down(const event_info& e);
    void on_key_up(const event_info& e);
    void on_style_changed(const event_info& e);
    void react(const button_reaction& r);
    // The strip's frame for the current state, loading the image first when needed.
    void paint_image(painter& p, int32_t width, int32_t height, bool enabled);

    std::string text_;
    button_state state_;
    std::unique_ptr<image> image_ = image::create();
};

}  // namespace qssdk::ui
