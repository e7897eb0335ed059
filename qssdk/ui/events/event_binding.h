// Helpers that connect a listener's member function or a ready binder as a handler.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "event_manager.h"
#include "event_object.h"

namespace qssdk::ui {

// Connects listener->method(event) to (source, id), owned by the listener.
template <class C>
void bind_member_handler(event_object* source, event_id id, void (C::*method)(const event_info&), C* listener) {
    event_manager::instance().connect(source, listener, id, std::bind(method, listener, std::placeholders::_1));
}

// Connects a ready binder (std::bind of a member with or without the event placeholder, or bound to a
// bool member) and returns the connection id.
template <class Binder>
uint32_t bind_handler(event_object* source, event_id id, Binder binder, event_object* owner) {
    return event_manager::instance().connect(source, owner, id, event_handler(std::move(binder)));
}

}  // namespace qssdk::ui
