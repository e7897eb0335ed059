// Device-independent pixels (96 per inch) to device pixels and back, at a window's DPI.
#pragma once

#include <cstdint>

#include "edges.h"

namespace qssdk::ui {

constexpr uint32_t dips_per_inch = 96;

// Rounded to the nearest pixel, as the window's native calls take positions and sizes.
int32_t dips_to_pixels(int32_t dips, uint32_t dpi);
int32_t pixels_to_dips(int32_t pixels, uint32_t dpi);
// Areas to repaint grow to whole units on both sides, so that nothing of them is lost either way.
edges dips_to_pixels_outward(const edges& area, uint32_t dpi_x, uint32_t dpi_y);
edges pixels_to_dips_outward(const edges& area, uint32_t dpi_x, uint32_t dpi_y);

}  // namespace qssdk::ui
