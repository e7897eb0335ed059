// Integer point of the UI kit in device-independent pixels: cursor positions and window positions.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct point {
    int32_t x = 0, y = 0;

    constexpr point operator+(const point& other) const { return {x + other.x, y + other.y}; }
    constexpr bool operator==(const point&) const = default;
};

}  // namespace qssdk::ui
