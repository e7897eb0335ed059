// Integer rectangle of the UI kit: position and size in device-independent pixels.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct rect {
    int32_t x = 0, y = 0, width = 0, height = 0;

    constexpr rect() = default;
    constexpr rect(int32_t x_, int32_t y_, int32_t width_, int32_t height_)
        : x(x_), y(y_), width(width_), height(height_) {}

    // Below one pixel in either direction counts as nothing to repaint.
    constexpr bool empty() const { return width < 1 || height < 1; }
    // Hit test with all four edges inside; an empty rect contains no point, not even its corner.
    constexpr bool contains_with_edges(int32_t px, int32_t py) const {
        return !empty() && px >= x && py >= y && int64_t{px} <= int64_t{x} + width &&
               int64_t{py} <= int64_t{y} + height;
    }
    constexpr bool operator==(const rect&) const = default;
};

}  // namespace qssdk::ui
