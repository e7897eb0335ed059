#include "tab_order.h"

#include <algorithm>

#include "widget.h"

namespace qssdk::ui {

namespace {

// Steps through the list from the focus by step (1 or n - 1), wrapping, until a widget takes the focus or
// the walk comes round to where it started.
widget* step_to_tab_stop(const std::vector<widget*>& order, widget* focus, size_t step) {
    const size_t n = order.size();
    if (n == 0) return focus;
    const auto found = std::ranges::find(order, focus);
    // A missing focus stands just outside the list, on the side the walk starts from.
    size_t i = found != order.end() ? static_cast<size_t>(found - order.begin()) : (step == 1 ? n - 1 : 0);
    const size_t tries = found != order.end() ? n - 1 : n;
    for (size_t k = 0; k < tries; ++k) {
        i = (i + step) % n;
        if (takes_tab_focus(*order[i])) return order[i];
    }
    return focus;
}

}  // namespace

bool takes_tab_focus(const widget& w) {
    return w.has_tab_stop() && w.is_enabled() && w.is_parent_enabled() && w.is_visible(true);
}

widget* next_tab_stop(const std::vector<widget*>& order, widget* focus) { return step_to_tab_stop(order, focus, 1); }

widget* previous_tab_stop(const std::vector<widget*>& order, widget* focus) {
    return order.empty() ? focus : step_to_tab_stop(order, focus, order.size() - 1);
}

}  // namespace qssdk::ui
