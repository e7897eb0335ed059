// A window's periodic timers: at most one per object and kind, ids counted from 1, each tick firing
// event 15 (timer) on its object with the kind as value. The native timers are started and stopped
// through a timer_service, so the bookkeeping runs without a window.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "fnv1a_hash.h"

namespace qssdk::ui {

class event_object;

// The native side: SetTimer and KillTimer on the window.
class timer_service {
public:
    virtual void start(uint32_t id, uint32_t period_ms) = 0;
    virtual void stop(uint32_t id) = 0;

protected:
    ~timer_service() = default;
};

// Timers made by add_timer; the only kind this program uses.
inline constexpr uint32_t widget_timer_kind = 1;
inline constexpr uint32_t widget_timer_period_ms = 200;
// Ids the table never hands out: the tooltip tick's and one kept free beside it.
inline constexpr uint32_t tooltip_timer_id = 0xFFFFFFFF;
inline constexpr uint32_t reserved_timer_id = 0xFFFFFFFE;
inline constexpr uint32_t tooltip_timer_period_ms = 100;

class timer_table {
public:
    explicit timer_table(timer_service& service) : service_(service) {}

    // Starts a 200 ms timer for the object unless it already has one.
    void add(event_object* object);
    // Stops and drops the object's timer of that kind; nothing when there is none.
    void remove(const event_object* object, uint32_t kind);
    // Stops and drops every timer of an object being destroyed, so that no later tick reaches it or an
    // object that takes its address.
    void forget(const event_object* object);
    // A native tick: event 15 on the timer's object with the kind as value. False for an unknown id.
    bool on_timer(uint32_t id);

private:
    struct timer {
        uint32_t kind;
        event_object* object;
    };

    uint32_t next_id();

    timer_service& service_;
    std::unordered_map<uint32_t, timer, fnv1a_hash> timers_{initial_buckets};
    uint32_t last_id_ = 0;
};

}  // namespace qssdk::ui
