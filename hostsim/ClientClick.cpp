#include "ClientClick.h"

namespace hostsim {

namespace {

constexpr DWORD stepMs = 60;

void post(HWND window, UINT message, WPARAM wparam, POINT client) {
    PostMessageW(window, message, wparam, MAKELPARAM(client.x, client.y));
    Sleep(stepMs);
}

}  // namespace

void moveCursorTo(HWND window, int x, int y) {
    POINT screen{x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    Sleep(stepMs);
    // Two moves: the first is seen as the mouse entering the window, the second reaches the widget under it.
    post(window, WM_MOUSEMOVE, 0, {x, y});
    post(window, WM_MOUSEMOVE, 0, {x, y});
}

void clickAt(HWND window, int x, int y) {
    moveCursorTo(window, x, y);
    post(window, WM_LBUTTONDOWN, MK_LBUTTON, {x, y});
    post(window, WM_LBUTTONUP, 0, {x, y});
}

}  // namespace hostsim
