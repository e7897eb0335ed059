// What a widget needs from the window that hosts its tree. The kit's window implements it; a widget
// reaches its window only through it.
#pragma once

#include "edges.h"

namespace qssdk::ui {

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

protected:
    ~widget_host() = default;
};

}  // namespace qssdk::ui
