// The process-wide handler registry: handlers are connected to a (source object, event id) pair and
// called by fire. Used on the UI thread only; nothing is locked.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "event_id.h"
#include "event_info.h"
#include "fnv1a_hash.h"

namespace qssdk::ui {

class event_object;

using event_handler = std::function<void(const event_info&)>;

class event_manager {
public:
    // Built on the first call (thread-safe one-time construction), destroyed at program exit.
    static event_manager& instance();

    // Ids count from 0 and are never reused. The owner's destruction removes the connection, as does
    // the source's.
    uint32_t connect(event_object* source, event_object* owner, event_id id, event_handler handler);
    // Unknown and already removed ids are ignored.
    void disconnect(uint32_t connection_id);
    // Removes every connection the object owns and every handler whose source it is.
    void disconnect_all(event_object* object);
    // Calls the handlers of (source, id) in connection order; false when no handler list exists for the
    // pair (an emptied list still counts).
    bool fire(event_object* source, event_id id, uint32_t phase, uint32_t flag, uint64_t value);
    // The question fire answers, asked without calling anything.
    bool has_handler_list(event_object* source, event_id id) const;

private:
    event_manager();

    struct entry {
        uint32_t connection_id;
        event_handler handler;
    };
    using handler_list = std::vector<entry>;
    using event_lists = std::unordered_map<event_id, handler_list, fnv1a_hash>;
    // A connection is found again by its id in its list, never through a stored position: the list may
    // be dropped whole when its source is destroyed.
    struct connection {
        event_object* source;
        event_id id;
    };

    std::unordered_map<event_object*, event_lists, fnv1a_hash> handlers_;
    std::unordered_map<uint32_t, connection, fnv1a_hash> connections_;
    std::unordered_map<event_object*, std::vector<uint32_t>, fnv1a_hash> owners_;
    uint32_t next_id_ = 0;
};

}  // namespace qssdk::ui
