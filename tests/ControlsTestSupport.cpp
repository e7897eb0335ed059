// Widget test support.
#include "ControlsTestSupport.h"

#include <array>
#include <cmath>
#include <vector>

#include "PaintTestSupport.h"
#include "TestWindow.h"
#include "event_manager.h"
#include "painter.h"
#include "style_entry.h"
#include "style_table.h"
#include "window_capture.h"
#include "window_styles.h"

namespace controls_test {

using namespace qssdk::ui;

namespace {

constexpr DWORD settle_ms = 50;
constexpr DWORD message_ms = 20;

uint8_t channel(float v) { return static_cast<uint8_t>(std::lround(v * 255)); }

// A strip of that many frames, frame i in frame_colours[i].
std::vector<uint8_t> strip_png(int frames) {
    return paint_test::make_png(strip_frame, strip_frame * frames, [](int, int y) {
        const color& c = frame_colours[y / strip_frame];
        return paint_test::rgb8{channel(c.r), channel(c.g), channel(c.b)};
    });
}

}  // namespace

shown_window::shown_window(int32_t x, int32_t width, int32_t height) {
    create("Controls", {x, TestWindow::free_band_top, width, height}, topmost);
    event_manager::instance().connect(&get_root_widget(), this, event_id::paint, [this](const event_info&) {
        get_painter()->set_fill_color(root_grey);
        get_painter()->fill_rect({0, 0, get_root_widget().get_rect().width, get_root_widget().get_rect().height});
    });
    park_cursor();
    ShowWindow(native_handle(), SW_SHOWNOACTIVATE);
    gallery::pump_messages_for(settle_ms);
}

void park_cursor() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
    gallery::pump_messages_for(message_ms);
}

void shown_window::cursor_to(const widget& w, point local) {
    POINT p{local.x, local.y};
    for (const widget* a = &w; a && a != &get_root_widget(); a = a->get_parent()) {
        p.x += a->get_rect().x;
        p.y += a->get_rect().y;
    }
    ClientToScreen(native_handle(), &p);
    SetCursorPos(p.x, p.y);
    gallery::pump_messages_for(message_ms);
    post(WM_MOUSEMOVE);
    post(WM_MOUSEMOVE);
}

void shown_window::post(UINT message, WPARAM wparam) {
    PostMessageW(native_handle(), message, wparam, 0);
    gallery::pump_messages_for(message_ms);
}

void shown_window::click(const widget& w, point local) {
    cursor_to(w, local);
    post(WM_LBUTTONDOWN);
    post(WM_LBUTTONUP);
}

hostsim::Image shown_window::picture() {
    gallery::repaint_and_settle(native_handle());
    return gallery::capture_client_area(native_handle());
}

void install_test_strips() {
    // The style store keeps the bytes' address: they live as long as the program.
    static const std::vector<uint8_t> pngs[] = {strip_png(1), strip_png(2), strip_png(4), strip_png(8)};
    const auto strip = [&](std::string_view key, const std::vector<uint8_t>& png, uint32_t frames) {
        return make_image_entry(key, image_data{png.data(), png.size(), frames, 1.0f});
    };
    const std::array entries{strip("test_strip_0", pngs[3], 0), strip("test_strip_1", pngs[0], 1),
                             strip("test_strip_2", pngs[1], 2), strip("test_strip_4", pngs[2], 4),
                             strip("test_strip_8", pngs[3], 8)};
    install_style_overrides(entries);
}

void remove_test_strips() { install_style_overrides({}); }

bool shows(const hostsim::Image& picture, point p, const color& c) {
    return paint_test::shows(picture.at(p.x, p.y), c, 3.0f / 255);
}

}  // namespace controls_test
