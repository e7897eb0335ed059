// Where a borderless, resizable window is grabbed: its edges and corners act as a sizing frame.
#pragma once

#include <cstdint>
#include <optional>

namespace qssdk::ui {

// The system's hit-test codes for the parts of a sizing frame.
enum class resize_hit : int32_t {
    client = 1,
    left = 10,
    right = 11,
    top = 12,
    top_left = 13,
    top_right = 14,
    bottom = 15,
    bottom_left = 16,
    bottom_right = 17,
};

// (x, y) is the cursor relative to the window's outer top-left, (width, height) the outer size, the
// borders in device pixels (left and right, top and bottom). Empty when the horizontal border is 0: the
// system's own answer then holds. There is no caption area.
std::optional<resize_hit> resize_hit_test(int32_t x, int32_t y, int32_t width, int32_t height, int32_t border_x,
                                          int32_t border_y);

}  // namespace qssdk::ui
