// What a widget needs from the window that hosts its tree. The kit's window implements it; a widget
// reaches its window only through it.
#pragma once

#include <cstdint>

#include "edges.h"
#include "point.h"

namespace qssdk::ui {

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

protected:
    ~widget_host() = default;
};

}  // namespace qssdk::ui
