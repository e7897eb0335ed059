// Plays the user's mouse on a window of this process from another thread: the cursor moves to a point of
// the window's client area and the left button goes down and up there.
#pragma once

#include <windows.h>

namespace hostsim {

// (x, y) in device pixels of the client area. Waits a little after each step so that the window's own
// thread takes the messages in order.
void moveCursorTo(HWND window, int x, int y);
void clickAt(HWND window, int x, int y);

}  // namespace hostsim
