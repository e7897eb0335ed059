// Where the painter's outlines and lines fall for a pen width, so that thin strokes cover whole pixels.
#pragma once

#include "float_box.h"
#include "point.h"
#include "rect.h"

namespace qssdk::ui {

// The rect's outline inset by half the pen: (x + p/2, y + p/2, x + w - p/2, y + h - p/2).
float_box outline_box(const rect& r, float pen_width);
// The shift of both line ends in x and y: the fractional part of half the pen width (0.5 for a 1-wide
// pen, 0 for a 2-wide one, 0.5 again for 3).
float line_end_offset(float pen_width);

struct float_line {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;

    constexpr bool operator==(const float_line&) const = default;
};
float_line line_ends(point a, point b, float pen_width);

}  // namespace qssdk::ui
