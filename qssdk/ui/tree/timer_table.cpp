#include "timer_table.h"

#include "event_manager.h"

namespace qssdk::ui {

void timer_table::add(event_object* object) {
    for (const auto& [id, t] : timers_)
        if (t.kind == widget_timer_kind && t.object == object) return;
    const uint32_t id = next_id();
    timers_.emplace(id, timer{widget_timer_kind, object});
    service_.start(id, widget_timer_period_ms);
}

void timer_table::remove(const event_object* object, uint32_t kind) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.kind != kind || it->second.object != object) continue;
        service_.stop(it->first);
        timers_.erase(it);
        return;
    }
}

void timer_table::forget(const event_object* object) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->second.object != object) {
            ++it;
            continue;
        }
        service_.stop(it->first);
        it = timers_.erase(it);
    }
}

bool timer_table::on_timer(uint32_t id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return false;
    // A copy: the handler may remove this very timer.
    const timer t = found->second;
    event_manager::instance().fire(t.object, event_id::timer, 2, 1, t.kind);
    return true;
}

uint32_t timer_table::next_id() {
    // After a wrap of the counter, 0 and the reserved ids are skipped, and so are ids still running.
    do {
        ++last_id_;
    } while (last_id_ == 0 || last_id_ >= reserved_timer_id || timers_.contains(last_id_));
    return last_id_;
}

}  // namespace qssdk::ui
