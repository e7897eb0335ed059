// The record every UI handler receives.
#pragma once

#include <cstdint>

namespace qssdk::ui {

class event_object;

struct event_info {
    event_object* source = nullptr;
    uint32_t id = 0;
    uint32_t phase = 2;  // 2 for every ordinary notification
    uint32_t flag = 1;   // 1 for every ordinary notification
    uint64_t value = 0;
};

}  // namespace qssdk::ui
