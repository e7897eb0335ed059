// Screenshots of a kit window's client area, for the gallery page and the tests' reference pictures.
#pragma once

#include <windows.h>

#include "Image.h"

namespace gallery {

// Runs the thread's messages for about ms milliseconds (the window paints meanwhile).
void pump_messages_for(DWORD ms);
// Has a shown window paint itself again, all of it, and waits for that to settle: a window made just
// before can still show black where the system has not presented its first paint.
void repaint_and_settle(HWND hwnd);
// The client area as opaque pixels, read back from the window's device context.
hostsim::Image capture_client_area(HWND hwnd);

}  // namespace gallery
