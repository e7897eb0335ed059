// A plain native window for drawing tests: a borderless popup with a client area of the given size,
// shown at once, and a read-back of what it shows.
#pragma once

#include <windows.h>

#include "Image.h"

class TestWindow {
public:
    // The top of the screen band the drawing tests use: below the simulated host's 1280 x 800 window,
    // which tests running at the same time show at (0, 0) and which would cover a window read back there.
    static constexpr int free_band_top = 820;

    TestWindow(int x, int y, int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window_; }
    // Handles the window's pending messages for `milliseconds` (never longer).
    void pump(DWORD milliseconds) const;
    // The client area's pixels as shown, opaque.
    hostsim::Image capture() const;

private:
    HWND window_ = nullptr;
};
