// Screenshots of a kit window's client area, for the gallery page and the tests' reference pictures.
#pragma once

#include <windows.h>

#include "Image.h"

namespace gallery {

// Handles the thread's pending messages, then those that come within ms milliseconds (never longer).
void pump_messages_for(DWORD ms);
// Has a shown window paint itself again, all of it, and waits for that to show: a window made just before
// can show black until the system presents its paint. Waits until the picture is steady and not all black,
// at most about 10 s (a loaded machine can take seconds).
void repaint_and_settle(HWND hwnd);
// The client area as opaque pixels, read back from the window's device context.
hostsim::Image capture_client_area(HWND hwnd);
// The same area as the screen shows it, with the windows that lie over it (a tooltip, a menu).
hostsim::Image capture_client_area_on_screen(HWND hwnd);

}  // namespace gallery
