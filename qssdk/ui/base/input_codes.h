// The values mouse and key events carry: which mouse button, and the virtual-key codes widgets react to.
#pragma once

#include <cstdint>

namespace qssdk::ui {

enum class mouse_button : uint64_t { left = 0, middle = 1, right = 2 };

inline constexpr uint64_t key_enter = 13;
inline constexpr uint64_t key_escape = 27;
inline constexpr uint64_t key_space = 32;

}  // namespace qssdk::ui
