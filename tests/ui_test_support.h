// Test doubles of the UI kit's tests: a window stand-in that records what widgets ask of it, and an
// event log that records the events fired on the objects it watches.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "capture_widget.h"
#include "edges.h"
#include "event_manager.h"
#include "event_object.h"
#include "point.h"
#include "widget.h"
#include "widget_host.h"

namespace ui_test {

using namespace qssdk::ui;

class test_host : public widget_host {
public:
    void invalidate(const edges& area) override { invalidated.push_back(area); }
    void update_now() override { ++updates; }
    void add_widget(widget* w) override { widgets.push_back(w); }
    void forget_widget(widget* w) override {
        forgotten.push_back(w);
        std::erase(widgets, w);
        if (focus == w) focus = nullptr;
    }
    painter* get_painter() override { return nullptr; }
    point get_cursor_position(const widget*) const override { return cursor; }
    widget* get_focus_widget() const override { return focus; }
    void set_focus_widget(widget* w, uint64_t) override { focus = w; }
    void set_capture(widget* w) override { set_capture_widget(w); }
    // The widgets tested on this stand-in ask for no timers or tooltips.
    void add_timer(event_object*) override {}
    void remove_timer(const event_object*, uint32_t) override {}
    void add_tooltip(uint64_t, const rect&, const std::string&, const std::string&) override {}

    std::vector<edges> invalidated;
    int updates = 0;
    std::vector<widget*> widgets;
    std::vector<widget*> forgotten;
    point cursor;
    widget* focus = nullptr;
};

struct logged_event {
    event_object* source;
    event_id id;
    uint64_t value;

    bool operator==(const logged_event&) const = default;
    friend void PrintTo(const logged_event& e, std::ostream* os) {
        *os << "{" << e.source << ", event " << static_cast<uint32_t>(e.id) << ", value 0x" << std::hex << e.value
            << std::dec << "}";
    }
};

class event_log : public event_object {
public:
    void watch(event_object* source, std::initializer_list<event_id> ids) {
        for (const event_id id : ids) watch(source, id);
    }
    void watch(event_object* source, event_id id) {
        event_manager::instance().connect(source, this, id, [this](const event_info& e) {
            events.push_back({e.source, static_cast<event_id>(e.id), e.value});
        });
    }
    // Every id a widget fires by itself.
    void watch_widget(event_object* source) {
        for (const event_id id : {event_id::resized, event_id::moved, event_id::attached, event_id::destroyed,
                                  event_id::enabled, event_id::disabled, event_id::parent_resized,
                                  event_id::parent_moved, event_id::child_added, event_id::child_removed,
                                  event_id::parent_changed, event_id::shown, event_id::hidden,
                                  event_id::style_changed})
            watch(source, id);
    }
    // Events of one source, in firing order.
    std::vector<event_id> ids_of(const event_object* source) const {
        std::vector<event_id> ids;
        for (const logged_event& e : events)
            if (e.source == source) ids.push_back(e.id);
        return ids;
    }
    void clear() { events.clear(); }

    std::vector<logged_event> events;
};

inline uint64_t address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

}  // namespace ui_test
