#include "tooltip_registry.h"

#include "widget.h"

namespace qssdk::ui {

namespace {

uint64_t key_of(const widget* w) { return reinterpret_cast<uintptr_t>(w); }

bool contains_with_edges(const rect& r, const point& p) {
    return p.x >= r.x && p.x <= r.x + r.width && p.y >= r.y && p.y <= r.y + r.height;
}

}  // namespace

tooltip_registry::added tooltip_registry::add(uint64_t key, const rect& area, std::string title, std::string text) {
    if (title.empty() && text.empty()) return added::ignored;
    const bool first = areas_.empty();
    areas_[key].push_back({area, std::move(title), std::move(text)});
    return first ? added::first : added::added;
}

void tooltip_registry::tick(const tooltip_input& input, tooltip_view& view) {
    const double now = input.seconds();
    const widget* hovered = input.hover_widget();
    if (hovered != hover_widget_) {
        hover_widget_ = hovered;
        hover_start_ = now;
        view.hide();
        return;
    }
    if (!hovered) return;
    const auto entry = areas_.find(key_of(hovered));
    if (entry == areas_.end()) return;

    const point cursor = input.cursor_position(hovered);
    rect examined;
    for (const tooltip_area& a : entry->second) {
        examined = a.area == rect() ? rect(0, 0, hovered->get_rect().width, hovered->get_rect().height) : a.area;
        if (!contains_with_edges(examined, cursor)) continue;
        if (examined != current_area_) {
            hover_start_ = now;
            current_area_ = examined;
            view.hide();
            return;
        }
        const double rested = now - hover_start_;
        if (rested <= tooltip_show_after_seconds) return;
        if (rested >= tooltip_hide_after_seconds) {
            view.hide();
        } else if (!view.is_shown()) {
            const point screen = input.cursor_position(nullptr);
            view.show({screen.x + tooltip_cursor_offset.x, screen.y + tooltip_cursor_offset.y}, a.title, a.text,
                      *hovered);
        }
        return;
    }
    hover_start_ = now;
    current_area_ = examined;
    view.hide();
}

void tooltip_registry::forget(const widget* w, tooltip_view* view) {
    areas_.erase(key_of(w));
    if (hover_widget_ != w) return;
    hover_widget_ = nullptr;
    current_area_ = {};
    if (view) view->hide();
}

}  // namespace qssdk::ui
