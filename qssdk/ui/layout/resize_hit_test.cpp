#include "resize_hit_test.h"

namespace qssdk::ui {

std::optional<resize_hit> resize_hit_test(int32_t x, int32_t y, int32_t width, int32_t height, int32_t border_x,
                                          int32_t border_y) {
    if (border_x == 0) return std::nullopt;
    const bool left = x < border_x, right = x > width - border_x;
    const bool top = y < border_y, bottom = y > height - border_y;
    // The order of the tests decides the corners.
    if (left && top) return resize_hit::top_left;
    if (right && top) return resize_hit::top_right;
    if (right && bottom) return resize_hit::bottom_right;
    if (left) return bottom ? resize_hit::bottom_left : resize_hit::left;
    if (top) return resize_hit::top;
    if (right) return resize_hit::right;
    if (bottom) return resize_hit::bottom;
    return resize_hit::client;
}

}  // namespace qssdk::ui
