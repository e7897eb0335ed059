// A scroll bar that scrolls its content widget inside the content's parent (the viewport) by moving the
// content to offsets from 0 down to minus its overhang: a track, a thumb sized to the visible share, two
// optional arrow buttons, thumb drags under the mouse capture, track clicks and the wheel. Every change
// fires event 37 (value_changed).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "event_info.h"
#include "image.h"
#include "point.h"
#include "scroll_bar_math.h"
#include "widget.h"

namespace qssdk::ui {

class scroll_bar : public widget {
public:
    scroll_bar();
    ~scroll_bar() override;

    void set_orientation(scroll_orientation o) { shape_.orientation = o; }
    void set_show_buttons(bool v) { shape_.show_buttons = v; }
    // The widget to scroll (not owned), or null. A content that is destroyed or leaves its parent is
    // forgotten. The owner connects the content's events 13 and 14 to update_thumb, its event 4 to
    // on_wheel, and the viewport's event 13 to fit_content.
    void set_content(widget* content);
    void set_step(int32_t step) { step_ = step; }

    // Buttons and track from the bar's size, then update_thumb.
    void layout();
    // Range, value and thumb from the content; pulls back a content scrolled past its end.
    void update_thumb();
    // After the viewport grew: a scrolled content whose far edge came inside moves back to meet it.
    void fit_content();
    // Moves the content by delta (positive towards the start) within its range; fires 37 with the value.
    void scroll_by(int32_t delta);
    // Unless exact, the position is snapped down to a multiple of the step. Fires 37 with the position
    // as given.
    void set_position(int32_t position, bool exact);
    // A wheel event (the bits of a double): scrolls by its value.
    void on_wheel(const event_info& e);

    widget* content() const { return content_; }
    const scroll_metrics& metrics() const { return metrics_; }
    int32_t step() const { return step_; }
    bool dragging() const { return dragging_; }

protected:
    virtual void paint_buttons(const rect& button, bool first);
    virtual void paint_thumb(const rect& thumb);
    virtual void paint_track(const rect& area);

private:
    void on_attached();
    void paint();
    void on_mouse_down(const event_info& e);
    void on_mouse_up(const event_info& e);
    void on_mouse_move();
    void forget_content();
    void move_content(int32_t offset);
    void fire_value(int32_t value);
    bool vertical() const { return shape_.orientation == scroll_orientation::vertical; }
    point cursor() const;

    scroll_bar_shape shape_;
    std::unique_ptr<image> arrow_image_;
    bool arrow_loaded_ = false;
    scroll_metrics metrics_;
    bool dragging_ = false;
    point drag_offset_;
    int32_t step_ = 10;
    widget* content_ = nullptr;
    // What tells the bar that its content went away: the content's destroyed event and its parent's
    // child_removed.
    std::optional<uint32_t> content_destroyed_connection_;
    std::optional<uint32_t> content_removed_connection_;
    bool handlers_connected_ = false;
};

}  // namespace qssdk::ui
