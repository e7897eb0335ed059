#include "event_manager.h"

#include <algorithm>
#include <utility>

namespace qssdk::ui {

event_manager& event_manager::instance() {
    static event_manager manager;
    return manager;
}

event_manager::event_manager()
    : handlers_(initial_buckets), connections_(initial_buckets), owners_(initial_buckets) {}

uint32_t event_manager::connect(event_object* source, event_object* owner, event_id id, event_handler handler) {
    auto lists = handlers_.try_emplace(source, initial_buckets).first;
    handler_list& list = lists->second[id];
    const uint32_t connection_id = next_id_;
    list.push_back({connection_id, std::move(handler)});
    connections_.insert_or_assign(connection_id, connection{source, id});
    owners_[owner].push_back(connection_id);
    ++next_id_;
    return connection_id;
}

void event_manager::disconnect(uint32_t connection_id) {
    const auto record = connections_.find(connection_id);
    if (record == connections_.end()) return;
    const connection removed = record->second;
    connections_.erase(record);

    // The handler is destroyed only once the tables are consistent again: its destructor may be anything.
    event_handler handler;
    if (const auto lists = handlers_.find(removed.source); lists != handlers_.end()) {
        if (const auto list = lists->second.find(removed.id); list != lists->second.end()) {
            auto& entries = list->second;
            const auto it = std::find_if(entries.begin(), entries.end(),
                                         [&](const entry& e) { return e.connection_id == connection_id; });
            if (it != entries.end()) {
                handler = std::move(it->handler);
                entries.erase(it);
            }
        }
    }
}

void event_manager::disconnect_all(event_object* object) {
    if (const auto owned = owners_.find(object); owned != owners_.end()) {
        const std::vector<uint32_t> ids = std::move(owned->second);
        owners_.erase(owned);
        for (const uint32_t id : ids) disconnect(id);
    }
    // Handlers connected to the object as source go whoever owns them; their records go with them, so
    // that neither a later disconnect nor a fire in progress can reach them.
    auto dropped = handlers_.extract(object);
    if (dropped.empty()) return;
    for (const auto& [id, entries] : dropped.mapped())
        for (const entry& e : entries) connections_.erase(e.connection_id);
}

bool event_manager::fire(event_object* source, event_id id, uint32_t phase, uint32_t flag, uint64_t value) {
    const auto lists = handlers_.find(source);
    if (lists == handlers_.end()) return false;
    const auto list = lists->second.find(id);
    if (list == lists->second.end()) return false;

    const event_info info{source, static_cast<uint32_t>(id), phase, flag, value};
    // Handlers may connect, disconnect or destroy objects while they run: the copy fixes who is asked,
    // and a handler removed meanwhile (its owner or source destroyed with it) is skipped.
    const handler_list snapshot = list->second;
    for (const entry& e : snapshot)
        if (connections_.contains(e.connection_id)) e.handler(info);
    return true;
}

bool event_manager::has_handler_list(event_object* source, event_id id) const {
    const auto lists = handlers_.find(source);
    return lists != handlers_.end() && lists->second.contains(id);
}

}  // namespace qssdk::ui
