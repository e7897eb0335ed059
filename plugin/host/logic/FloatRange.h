// The host's doubles as the renderer's floats.
#pragma once

#include <algorithm>
#include <cfloat>

// Held within float range: a value beyond it becomes the largest float of its sign, not an infinity.
inline float toFloatRange(double value) { return static_cast<float>(std::clamp<double>(value, -FLT_MAX, FLT_MAX)); }
