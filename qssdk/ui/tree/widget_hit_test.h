// Which widget of a window's tree lies under a point, and a point in a widget's own coordinates.
#pragma once

#include "point.h"

namespace qssdk::ui {

class widget;

// p in the window's client DIPs. Null when the root is hidden or p lies outside it; else the deepest
// shown widget containing p (later children lie above earlier ones; right and bottom edges are outside).
widget* widget_at(const widget& root, point p);
// p in the window's client DIPs made relative to w: the positions of w and of its ancestors below the
// root are subtracted (the root's own position is not).
point relative_to_widget(point p, const widget& w);

}  // namespace qssdk::ui
