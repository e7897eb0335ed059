// Kit values in the forms Direct2D takes.
#pragma once

#include <d2d1.h>

#include "color.h"
#include "float_box.h"

namespace qssdk::ui {

inline D2D1_COLOR_F to_d2d(const color& c) { return {c.r, c.g, c.b, c.a}; }
inline D2D1_RECT_F to_d2d(const float_box& b) { return {b.left, b.top, b.right, b.bottom}; }

}  // namespace qssdk::ui
