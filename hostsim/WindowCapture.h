// Read-backs of what a window shows: its client area as pixels, and the comparisons that tell when a
// freshly shown window has settled (a window can read back black until its paint is presented).
#pragma once

#include <windows.h>

#include "Image.h"

namespace hostsim {

// The client area as opaque pixels, read back from the window's device context.
Image captureClientArea(HWND window);
// The same rectangle as the screen shows it, with whatever lies over the window (a tooltip, a menu).
Image captureClientAreaOnScreen(HWND window);
bool allBlack(const Image& image);
// Same size and the same colours everywhere.
bool samePixels(const Image& a, const Image& b);

}  // namespace hostsim
