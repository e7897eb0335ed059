// How a window hands the events of its native messages to its widgets: the focus, hover and Tab-order
// bookkeeping and the rules per event id. Window-free: the cursor position and the Shift state come from
// the window through a small interface.
#pragma once

#include <cstdint>
#include <vector>

#include "event_id.h"
#include "point.h"

namespace qssdk::ui {

class event_object;
class widget;

class event_router {
public:
    // What the router asks of its window at the time of an event.
    class environment {
    public:
        // The cursor in the window's client DIPs.
        virtual point cursor_position() const = 0;
        // Whether either Shift key is down (Tab then moves the focus backwards).
        virtual bool shift_down() const = 0;

    protected:
        ~environment() = default;
    };

    // window receives the events that go to the window itself; root is the window's root widget, which
    // holds the focus at first.
    event_router(event_object& window, widget& root, const environment& env);

    // Routes one event (phase 2, flag 1) by the rules of its id; ids without a rule are ignored.
    void dispatch(event_id id, uint64_t value);

    widget* widget_under_cursor() const;
    // Whether the usable widget under the cursor has a handler for id.
    bool cursor_widget_has_handler(event_id id) const;

    widget* focus_widget() const { return focus_; }
    widget* hover_widget() const { return hover_; }
    // No-op when unchanged; 34 (focus_lost) on the old focus, 33 (focus_gained) on the new one if usable.
    void set_focus_widget(widget* w, uint64_t value);
    // While set (the default), the Tab character moves the focus.
    void set_tab_navigation(bool on) { tab_navigation_ = on; }

    // The widget list: the Tab order, in creation order.
    const std::vector<widget*>& widgets() const { return widgets_; }
    void add_widget(widget* w) { widgets_.push_back(w); }
    // Takes the widget out of the list and out of the focus and hover pointers.
    void forget_widget(widget* w);

private:
    void move_focus_by_tab();
    void fire(event_object* target, event_id id, uint64_t value) const;
    // Fires on w when it exists and is enabled with its parents; answers whether a handler was there.
    bool fire_if_usable(widget* w, event_id id, uint64_t value) const;

    event_object& window_;
    widget& root_;
    const environment& env_;
    std::vector<widget*> widgets_;
    widget* focus_;
    widget* hover_ = nullptr;
    bool tab_navigation_ = true;
    bool swallow_next_mouse_up_ = false;
};

// A widget receives routed events only while it and its parents are enabled.
bool is_usable(const widget* w);

}  // namespace qssdk::ui
