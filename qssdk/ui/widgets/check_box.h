// A two-state box with a text beside it. The box is a frame of the "checkbox_image" strip, the text is
// measured and placed beside it by one of eight placement codes, and the state can mirror a bool owned by
// the caller. A release of any mouse button or of Space toggles it, firing 37 (value_changed) before the
// change (phase 0) and after it (phase 2). It binds its handlers when first attached (event 17) and is
// then disabled until its owner enables it; a later attach only lays it out again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "check_box_layout.h"
#include "check_state.h"
#include "event_info.h"
#include "image.h"
#include "rect.h"
#include "size.h"
#include "widget.h"

namespace qssdk::ui {

class check_box : public widget {
public:
    check_box();

    // Stores both, measures the text, loads the box image if needed, places box and text, repaints.
    void update_layout(int32_t placement, int32_t gap);
    void set_text(std::string_view text);
    // The caller's bool becomes the state: read at each paint and toggle, written at each toggle.
    void set_linked_value(bool* value) { state_.linked_value = value; }
    bool is_checked() const { return state_.checked(); }
    // Sets the state (into the linked bool too) without value_changed events, and repaints.
    void set_checked(bool on);
    const std::string& get_text() const { return text_; }
    const check_box_layout& get_layout() const { return layout_; }
    int32_t get_placement() const { return placement_; }
    // The size of one frame of the box image strip, and the strip (loaded by update_layout).
    const size& get_box_size() const { return box_size_; }
    image& get_box_image() { return *image_; }

    virtual void paint();

private:
    void on_attached();
    void set_hover(bool on);
    void on_mouse_up();
    void on_key_up(const event_info& e);
    void on_style_changed(const event_info& e);
    void toggle();
    void set_text_font(painter& p) const;

    std::string text_;
    check_state state_;
    check_box_layout layout_;
    int32_t text_gap_ = 5;
    bool hover_ = false;
    size box_size_;
    int32_t placement_ = 0;
    std::unique_ptr<image> image_ = image::create();
    // Handlers are bound on the first attach only: bound twice, one click would toggle twice.
    bool handlers_bound_ = false;
};

}  // namespace qssdk::ui
