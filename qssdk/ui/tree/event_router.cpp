#include "event_router.h"

#include <algorithm>

#include "capture_widget.h"
#include "event_manager.h"
#include "pair_packing.h"
#include "tab_order.h"
#include "widget.h"
#include "widget_hit_test.h"

namespace qssdk::ui {

namespace {

constexpr uint64_t tab_character = 9;
// Focus changes made by Tab carry this value; those made by a click carry 0.
constexpr uint64_t focus_by_tab = 1;

}  // namespace

bool is_usable(const widget* w) { return w && w->is_enabled() && w->is_parent_enabled(); }

event_router::event_router(event_object& window, widget& root, const environment& env)
    : window_(window), root_(root), env_(env), focus_(&root) {}

widget* event_router::widget_under_cursor() const { return widget_at(root_, env_.cursor_position()); }

bool event_router::cursor_widget_has_handler(event_id id) const {
    widget* w = widget_under_cursor();
    return is_usable(w) && event_manager::instance().has_handler_list(w, id);
}

void event_router::fire(event_object* target, event_id id, uint64_t value) const {
    event_manager::instance().fire(target, id, 2, 1, value);
}

bool event_router::fire_if_usable(widget* w, event_id id, uint64_t value) const {
    return is_usable(w) && event_manager::instance().fire(w, id, 2, 1, value);
}

void event_router::dispatch(event_id id, uint64_t value) {
    switch (id) {
    case event_id::mouse_up:
        if (swallow_next_mouse_up_) {
            swallow_next_mouse_up_ = false;
            return;
        }
        if (is_usable(capture_widget())) {
            fire(capture_widget(), id, value);
            return;
        }
        fire_if_usable(widget_under_cursor(), id, value);
        fire(&window_, id, value);
        return;
    case event_id::mouse_down:
    case event_id::double_click: {
        widget* w = widget_under_cursor();
        if (is_usable(w)) {
            set_focus_widget(w, 0);
            fire(w, id, value);
        }
        fire(&window_, id, value);
        // Only a double click that went out as such eats the release that follows it: one sent on as a
        // second press leaves its release to the widget.
        swallow_next_mouse_up_ = id == event_id::double_click;
        return;
    }
    case event_id::mouse_wheel:
        for (widget* w = widget_under_cursor(); w; w = w->get_parent())
            if (fire_if_usable(w, id, value)) return;
        return;
    case event_id::mouse_leave:
        fire_if_usable(hover_, id, value);
        // The cursor is over no widget now: the next move over any widget enters it again.
        hover_ = nullptr;
        return;
    case event_id::mouse_move: {
        if (is_usable(capture_widget())) {
            fire(capture_widget(), id, value);
            return;
        }
        widget* w = widget_under_cursor();
        if (w != hover_) {
            fire_if_usable(hover_, event_id::mouse_leave, 0);
            fire_if_usable(w, event_id::mouse_enter, 0);
        } else {
            fire_if_usable(w, id, value);
        }
        hover_ = w;
        fire(&window_, id, value);
        return;
    }
    case event_id::key_down:
    case event_id::key_down_raw:
    case event_id::key_up:
        fire_if_usable(focus_, id, value);
        fire(&window_, id, value);
        return;
    case event_id::character:
        if (tab_navigation_ && value == tab_character) {
            move_focus_by_tab();
            fire(&window_, id, value);
            return;
        }
        fire_if_usable(focus_, id, value);
        fire(&window_, id, value);
        return;
    case event_id::resized: {
        const int32_pair size = unpack_pair(value);
        root_.set_rect({0, 0, size.low, size.high}, true);
        fire(&window_, id, 0);
        return;
    }
    case event_id::focus_gained:
    case event_id::focus_lost:
        fire_if_usable(focus_, id, 0);
        fire(&window_, id, 0);
        return;
    case event_id::files_dropped:
        fire_if_usable(widget_under_cursor(), id, value);
        return;
    case event_id::ime:
        fire_if_usable(focus_, id, value);
        return;
    case event_id::session_locked:
    case event_id::session_unlocked:
        fire(&window_, id, 0);
        return;
    default:
        return;
    }
}

void event_router::set_focus_widget(widget* w, uint64_t value) {
    if (w == focus_) return;
    if (focus_) fire(focus_, event_id::focus_lost, value);
    focus_ = w;
    if (is_usable(w)) fire(w, event_id::focus_gained, value);
}

void event_router::move_focus_by_tab() {
    if (!focus_) focus_ = &root_;
    widget* next = env_.shift_down() ? previous_tab_stop(widgets_, focus_) : next_tab_stop(widgets_, focus_);
    set_focus_widget(next, focus_by_tab);
}

void event_router::forget_widget(widget* w) {
    std::erase(widgets_, w);
    if (focus_ == w) focus_ = nullptr;
    if (hover_ == w) hover_ = nullptr;
}

}  // namespace qssdk::ui
