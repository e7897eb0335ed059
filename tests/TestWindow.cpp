// The drawing tests' native window.
#include "TestWindow.h"

#include <stdexcept>

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

TestWindow::TestWindow(int x, int y, int width, int height) : width_(width), height_(height) {
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

void TestWindow::pump(DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds > 0) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

hostsim::Image TestWindow::capture() const {
    HDC window_dc = GetDC(window_);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, bitmap);
    BitBlt(memory_dc, 0, 0, width_, height_, window_dc, 0, 0, SRCCOPY);
    GdiFlush();

    hostsim::Image out(width_, height_);
    const auto* bgra = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const unsigned char* p = bgra + (static_cast<size_t>(y) * width_ + x) * 4;
            out.at(x, y) = {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, 1.0f};
        }
    SelectObject(memory_dc, old);
    DeleteObject(bitmap);
    DeleteDC(memory_dc);
    ReleaseDC(window_, window_dc);
    return out;
}
