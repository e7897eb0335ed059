#include "window_capture.h"

#include "WindowCapture.h"

namespace gallery {

namespace {

constexpr DWORD settle_ms = 50;
constexpr DWORD settle_bound_ms = 10000;

}  // namespace

void pump_messages_for(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

void repaint_and_settle(HWND hwnd) {
    // The system may drop or delay what a window paints before it is mapped (a prefix's first window
    // takes longest): paint again, within a bound, until the client area shows anything but black and
    // looks the same twice running.
    hostsim::Image previous;
    for (DWORD waited = 0; waited < settle_bound_ms; waited += settle_ms) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        pump_messages_for(settle_ms);
        hostsim::Image now = capture_client_area(hwnd);
        if (!hostsim::allBlack(now) && hostsim::samePixels(now, previous)) return;
        previous = std::move(now);
    }
}

hostsim::Image capture_client_area(HWND hwnd) { return hostsim::captureClientArea(hwnd); }

hostsim::Image capture_client_area_on_screen(HWND hwnd) { return hostsim::captureClientAreaOnScreen(hwnd); }

}  // namespace gallery
