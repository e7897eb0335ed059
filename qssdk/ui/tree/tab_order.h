// Where Tab and Shift+Tab move the keyboard focus within a window's widget list (creation order).
#pragma once

#include <vector>

namespace qssdk::ui {

class widget;

// Whether a widget can take the focus by Tab: a tab stop, enabled with its parents, and shown.
bool takes_tab_focus(const widget& w);
// The first widget after (Tab) or before (Shift+Tab) the focus that takes the focus, wrapping round the
// list; the focus itself when no other widget does. A focus missing from the list starts before the first
// entry (Tab) or after the last (Shift+Tab).
widget* next_tab_stop(const std::vector<widget*>& order, widget* focus);
widget* previous_tab_stop(const std::vector<widget*>& order, widget* focus);

}  // namespace qssdk::ui
