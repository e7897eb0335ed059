#include "widget_hit_test.h"

#include <ranges>

#include "widget.h"

namespace qssdk::ui {

namespace {

bool contains(const rect& r, point p) {
    return p.x >= r.x && p.x < r.x + r.width && p.y >= r.y && p.y < r.y + r.height;
}

}  // namespace

widget* widget_at(const widget& root, point p) {
    const rect& bounds = root.get_rect();
    if (!root.is_visible(true) || p.x < 0 || p.y < 0 || p.x >= bounds.width || p.y >= bounds.height) return nullptr;
    const widget* current = &root;
    for (;;) {
        p.x -= current->get_rect().x;
        p.y -= current->get_rect().y;
        const widget* found = nullptr;
        for (const widget* child : current->get_children() | std::views::reverse) {
            if (child->is_visible(true) && contains(child->get_rect(), p)) {
                found = child;
                break;
            }
        }
        if (!found) return const_cast<widget*>(current);
        current = found;
    }
}

point relative_to_widget(point p, const widget& w) {
    for (const widget* a = &w; a->get_parent(); a = a->get_parent()) {
        p.x -= a->get_rect().x;
        p.y -= a->get_rect().y;
    }
    return p;
}

}  // namespace qssdk::ui
