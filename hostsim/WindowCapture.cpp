#include "WindowCapture.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace hostsim {

namespace {

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

// width x height pixels of the source DC from (x, y), as opaque pixels.
Image capture(HDC source, int x, int y, int width, int height) {
    Image image(width, height);
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
    BitBlt(target.get(), 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint8_t*>(bits);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const uint8_t* p = pixels + (static_cast<size_t>(row) * width + column) * 4;  // blue, green, red
            image.at(column, row) = {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, 1.0f};
        }
    SelectObject(target.get(), previous);
    return image;
}

}  // namespace

Image captureClientArea(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const window_dc source(GetDC(hwnd), {hwnd});
    return capture(source.get(), 0, 0, client.right, client.bottom);
}

Image captureClientAreaOnScreen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const window_dc screen(GetDC(nullptr), {nullptr});
    return capture(screen.get(), origin.x, origin.y, client.right, client.bottom);
}

bool allBlack(const Image& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const rgba& p = image.at(x, y); p.r > 0 || p.g > 0 || p.b > 0) return false;
    return true;
}

bool samePixels(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const rgba &p = a.at(x, y), &q = b.at(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    return true;
}

}  // namespace hostsim
