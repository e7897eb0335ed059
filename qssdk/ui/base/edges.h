// A rectangle as its four edges (right and bottom exclusive), in a window's client coordinates: what
// widgets hand to their window for repainting.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct edges {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    constexpr bool operator==(const edges&) const = default;
};

}  // namespace qssdk::ui
