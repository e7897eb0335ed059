#include "window_capture.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace gallery {

namespace {

constexpr DWORD settle_ms = 50;
constexpr DWORD settle_bound_ms = 10000;

struct release_window_dc {
    HWND hwnd;
    void operator()(HDC dc) const { ReleaseDC(hwnd, dc); }
};
struct delete_memory_dc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct delete_gdi_object {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using window_dc = std::unique_ptr<std::remove_pointer_t<HDC>, release_window_dc>;
using memory_dc = std::unique_ptr<std::remove_pointer_t<HDC>, delete_memory_dc>;
using gdi_object = std::unique_ptr<std::remove_pointer_t<HBITMAP>, delete_gdi_object>;

bool all_black(const hostsim::Image& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const hostsim::rgba& p = image.at(x, y); p.r > 0 || p.g > 0 || p.b > 0) return false;
    return true;
}

bool same_pixels(const hostsim::Image& a, const hostsim::Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const hostsim::rgba &p = a.at(x, y), &q = b.at(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    return true;
}

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
        if (!all_black(now) && same_pixels(now, previous)) return;
        previous = std::move(now);
    }
}

namespace {

// The rect of the device context as opaque pixels.
hostsim::Image capture_area(HDC source, int left, int top, int width, int height) {
    hostsim::Image image(width, height);
    if (width <= 0 || height <= 0) return image;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const memory_dc target(CreateCompatibleDC(source));
    const gdi_object bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !target) return image;
    const HGDIOBJ previous = SelectObject(target.get(), bitmap.get());
    BitBlt(target.get(), 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = pixels + (static_cast<size_t>(y) * width + x) * 4;  // blue, green, red
            image.at(x, y) = {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, 1.0f};
        }
    SelectObject(target.get(), previous);
    return image;
}

}  // namespace

hostsim::Image capture_client_area(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const window_dc source(GetDC(hwnd), {hwnd});
    return capture_area(source.get(), 0, 0, client.right, client.bottom);
}

hostsim::Image settled_on_screen(HWND hwnd) {
    hostsim::Image previous;
    for (DWORD waited = 0; waited < settle_bound_ms; waited += settle_ms) {
        InvalidateRect(hwnd, nullptr, FALSE);
        pump_messages_for(settle_ms);
        hostsim::Image now = capture_client_area_on_screen(hwnd);
        if (!all_black(now) && same_pixels(now, previous)) return now;
        previous = std::move(now);
    }
    return previous;
}

hostsim::Image capture_client_area_on_screen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const window_dc screen(GetDC(nullptr), {nullptr});
    return capture_area(screen.get(), origin.x, origin.y, client.right, client.bottom);
}

}  // namespace gallery
