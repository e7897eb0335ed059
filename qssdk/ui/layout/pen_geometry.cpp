// Outline and line placement for a pen width.
#include "pen_geometry.h"

#include <cmath>

namespace qssdk::ui {

float_box outline_box(const rect& r, float pen_width) {
    const float half = pen_width / 2.0f;
    const float_box box = to_box(r);
    return {box.left + half, box.top + half, box.right - half, box.bottom - half};
}

float line_end_offset(float pen_width) {
    const float half = pen_width / 2.0f;
    return half - std::floor(half);
}

float_line line_ends(point a, point b, float pen_width) {
    const float d = line_end_offset(pen_width);
    return {static_cast<float>(a.x) + d, static_cast<float>(a.y) + d, static_cast<float>(b.x) + d,
            static_cast<float>(b.y) + d};
}

}  // namespace qssdk::ui
