// Which style key a style_changed event (43) names: its value is the address of the key's first
// character, and keys are string literals, so the characters end with a NUL.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "event_info.h"

namespace qssdk::ui {

// True when the event's key is exactly `key` (a literal): the compare stops at the first difference or
// at the key's terminator, so it never reads past either string.
inline bool names_style_key(const event_info& e, std::string_view key) {
    const char* named = std::bit_cast<const char*>(static_cast<uintptr_t>(e.value));
    return named && std::strncmp(named, key.data(), key.size() + 1) == 0;
}

// True when the event's key begins with `prefix` (a literal without its terminator).
inline bool style_key_starts_with(const event_info& e, std::string_view prefix) {
    const char* named = std::bit_cast<const char*>(static_cast<uintptr_t>(e.value));
    return named && std::strncmp(named, prefix.data(), prefix.size()) == 0;
}

}  // namespace qssdk::ui
