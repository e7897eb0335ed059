// What a widget needs from the window that hosts its tree. The kit's window implements it; a widget
// reaches its window only through it.
#pragma once

#include <cstdint>
#include <string>

#include "edges.h"
#include "point.h"
#include "rect.h"

namespace qssdk::ui {

class event_object;
class painter;
class widget;

class widget_host {
public:
    // Marks the area (client coordinates, device-independent pixels) for repainting, without erasing.
    virtual void invalidate(const edges& area) = 0;
    // Repaints what is marked at once.
    virtual void update_now() = 0;
    // A widget joins the window's widget list (the Tab order) when it is initialised.
    virtual void add_widget(widget* w) = 0;
    // A widget being destroyed: the window drops its entries for it, takes it out of the widget list
    // and clears its hover and focus pointers where they point at it.
    virtual void forget_widget(widget* w) = 0;

    // The window's painter, for paint handlers; null before the window is created.
    virtual painter* get_painter() = 0;
    // The cursor in DIPs: relative to w (see window::get_cursor_position), or on the screen when w is null.
    virtual point get_cursor_position(const widget* w) const = 0;
    virtual widget* get_focus_widget() const = 0;
    // Focus events carry value: 0 for a click, 1 for Tab.
    virtual void set_focus_widget(widget* w, uint64_t value) = 0;
    // A widget that starts a drag takes the mouse capture (the window then routes mouse moves and releases
    // to it alone); null ends it.
    virtual void set_capture(widget* w) = 0;

    // Timers and tooltips. A timer fires event 15 (timer) on its object every 200 ms with its kind as
    // value (1 for add_timer's); an object has at most one of a kind. A destroyed widget's timers and
    // tooltip areas go with it.
    virtual void add_timer(event_object* object) = 0;
    virtual void remove_timer(const event_object* object, uint32_t kind) = 0;
    // An area of the widget whose address is key (area relative to it, all zero for the whole widget)
    // that shows a tooltip once the cursor rests on it; nothing when title and text are both empty.
    virtual void add_tooltip(uint64_t key, const rect& area, const std::string& title, const std::string& text) = 0;

protected:
    ~widget_host() = default;
};

}  // namespace qssdk::ui
