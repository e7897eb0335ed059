// The drawing tests' native window.
#include "TestWindow.h"

#include <stdexcept>

#include "window_capture.h"

namespace {

constexpr wchar_t class_name[] = L"PelluxTestWindow";

void register_class() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.lpszClassName = class_name;
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) throw std::runtime_error("the test window class cannot be registered");
}

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
    register_class();
    window_ = CreateWindowExW(WS_EX_TOPMOST, class_name, L"Pellux test window", WS_POPUP | WS_VISIBLE, x, y, width,
                              height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) throw std::runtime_error("the test window cannot be made");
    pump(50);
}

TestWindow::~TestWindow() {
    DestroyWindow(window_);
    pump(0);
}

void TestWindow::pump(DWORD milliseconds) const { gallery::pump_messages_for(milliseconds); }

hostsim::Image TestWindow::capture() const { return gallery::capture_client_area(window_); }
