// The drop shadow drawn around a child widget: its 21-stop fade and the boxes of its corners, edge bands
// and inner fill, all plain geometry so that it needs no effect support from the drawing system.
#pragma once

#include <array>
#include <cstdint>

#include "float_box.h"
#include "rect.h"

namespace qssdk::ui {

inline constexpr int shadow_stop_count = 21;

// Stop i of the fade: position i / 21, alpha 3^(-1.3888888 (0.1 i)^2).
float shadow_stop_position(int i);
float shadow_stop_alpha(int i);

// A corner square filled with a radial fade of radius `radius` around `center_x, center_y`.
struct shadow_corner {
    float_box box;
    float center_x = 0.0f, center_y = 0.0f;
    float radius = 0.0f;

    constexpr bool operator==(const shadow_corner&) const = default;
};

// An edge band filled with a linear fade from (from_x, from_y) on its inner side to (to_x, to_y) on its
// outer side.
struct shadow_band {
    float_box box;
    float from_x = 0.0f, from_y = 0.0f, to_x = 0.0f, to_y = 0.0f;

    constexpr bool operator==(const shadow_band&) const = default;
};

// Corners bottom-right, top-right, bottom-left, top-left; bands left, top, right, bottom. Drawing goes
// corner i then band i for each i, then the inner fill.
struct shadow_layout {
    std::array<shadow_corner, 4> corners;
    std::array<shadow_band, 4> bands;
    float_box inner;
};

// child: the child's rect in its parent's coordinates; (dx, dy) its shadow offset; size the fade width.
// The box reaches 7/10 of the size (integer division) beyond the offset child on each side.
shadow_layout make_shadow_layout(const rect& child, int32_t dx, int32_t dy, uint32_t size);

}  // namespace qssdk::ui
