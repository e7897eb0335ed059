// Where a window is centred: over a reference rectangle (its owner, or the screen), kept inside the work
// area of its monitor. All values in device pixels.
#pragma once

#include <cstdint>

#include "edges.h"
#include "point.h"

namespace qssdk::ui {

// The centre is found with the client size; the outer size keeps the window inside the work area.
point centered_position(const edges& reference, int32_t client_width, int32_t client_height, int32_t outer_width,
                        int32_t outer_height, const edges& work_area);

}  // namespace qssdk::ui
