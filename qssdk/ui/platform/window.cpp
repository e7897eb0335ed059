#include "window.h"

#include <imm.h>

#include <algorithm>
#include <chrono>

#include "capture_widget.h"
#include "cursor_table.h"
#include "dip_conversion.h"
#include "event_manager.h"
#include "ime_state.h"
#include "painter.h"
#include "render_context.h"
#include "set_cursor.h"
#include "tooltip.h"
#include "utf.h"
#include "widget_hit_test.h"
#include "window_impl.h"
#include "window_placement.h"

namespace qssdk::ui {

namespace {

// The screen's DPI, read once per process, for cursor positions.
const point& screen_dpi() {
    static const point dpi = [] {
        const HDC screen = GetDC(nullptr);
        const point d{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
        return d;
    }();
    return dpi;
}

}  // namespace

window::window() : impl_(std::make_unique<window_impl>(*this)), router_(*this, root_, *this) {
    set_cursor(cursor_index::arrow);
}

window::~window() {
    // Messages that the teardown itself causes must not reach parts that are already gone.
    impl_->detach();
    event_manager::instance().fire(this, event_id::destroyed, 2, 1, 0);
    event_manager::instance().disconnect_all(this);
    // The members go in reverse order: the root widget, the router, the painter, then the native window.
}

void window::on_user_message(uint32_t) {}

void window::create(const std::string& title, const rect& r, uint16_t flags) {
    impl_->create(owner_ ? owner_->impl_.get() : nullptr, r, flags);
    SetWindowTextW(impl_->hwnd, qssdk::utf8_to_utf16(title).c_str());
    root_.set_name("BaseWidget");
    root_.set_window(this);
    root_.initialize({0, 0, r.width, r.height});
    event_manager::instance().fire(&root_, event_id::attached, 2, 1, 0);
    router_.set_focus_widget(&root_, 0);
    painter_ = std::make_unique<painter>(impl_->hwnd);
    ime_ = std::make_unique<ime_state>(impl_->hwnd, [this](uint64_t step) { dispatch(event_id::ime, step); });
    // Input-method messages arrive only once a text-editing widget associates a context again.
    ImmAssociateContext(impl_->hwnd, nullptr);
    event_manager::instance().fire(this, event_id::attached, 2, 1, 0);
    created_ = true;
}

void window::stand_for(HWND native) { impl_->stand_for(native); }

int32_t window::show_modal() {
    modal_result_ = 0;
    event_manager::instance().fire(this, event_id::shown, 2, 1, 0);
    const HWND hwnd = impl_->hwnd;
    if (const HWND owner = impl_->native_owner()) EnableWindow(owner, FALSE);
    if (!IsWindowVisible(hwnd)) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    impl_->modal_running = true;
    // The flag is asked before each message is taken, so that none is taken and then dropped when the
    // loop ends: what is left stays queued for the loop outside.
    MSG msg;
    while (impl_->modal_running) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            close(true);
            break;
        }
        // The key the input method took, for the composition's cursor rules.
        if (msg.message == WM_KEYDOWN && ime_ && ime_->composing()) ime_->record_key();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    event_manager::instance().fire(this, event_id::hidden, 2, 1, 0);
    return modal_result_;
}

void window::end_modal(int32_t result) {
    modal_result_ = result;
    event_manager::instance().fire(this, event_id::hidden, 2, 1, 0);
    release_modal();
}

void window::close(bool force) {
    if (!force && event_manager::instance().fire(this, event_id::close_query, 2, 1, 0)) return;
    release_modal();
}

void window::release_modal() {
    impl_->modal_running = false;
    impl_->release_owner();
    if (IsWindowVisible(impl_->hwnd)) ShowWindow(impl_->hwnd, SW_HIDE);
}

void window::set_rect(const rect& r) {
    const point outer =
        impl_->outer_size(dips_to_pixels(r.width, impl_->dpi_x), dips_to_pixels(r.height, impl_->dpi_y));
    SetWindowPos(impl_->hwnd, nullptr, dips_to_pixels(r.x, impl_->dpi_x), dips_to_pixels(r.y, impl_->dpi_y), outer.x,
                 outer.y, SWP_NOZORDER | SWP_NOACTIVATE);
}

rect window::get_rect() const {
    RECT outer{};
    GetWindowRect(impl_->hwnd, &outer);
    return {pixels_to_dips(outer.left, impl_->dpi_x), pixels_to_dips(outer.top, impl_->dpi_y),
            pixels_to_dips(outer.right - outer.left, impl_->dpi_x),
            pixels_to_dips(outer.bottom - outer.top, impl_->dpi_y)};
}

rect window::get_client_rect() const {
    RECT outer{};
    GetWindowRect(impl_->hwnd, &outer);
    const RECT frame = impl_->frame();
    const int32_t width = (outer.right - outer.left) - (frame.right - frame.left);
    const int32_t height = (outer.bottom - outer.top) - (frame.bottom - frame.top);
    return {outer.left - frame.left, outer.top - frame.top, pixels_to_dips(width, impl_->dpi_x),
            pixels_to_dips(height, impl_->dpi_y)};
}

RECT window::work_area() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(created_ ? impl_->native_owner() : impl_->hwnd, MONITOR_DEFAULTTONEAREST),
                    &monitor);
    return monitor.rcWork;
}

void window::center() {
    const rect client = get_client_rect();
    const int32_t width = dips_to_pixels(client.width, impl_->dpi_x);
    const int32_t height = dips_to_pixels(client.height, impl_->dpi_y);
    const HWND owner = impl_->native_owner();
    edges reference{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (created_ && owner) {
        RECT r{};
        GetWindowRect(owner, &r);
        reference = {r.left, r.top, r.right, r.bottom};
    }
    const RECT work = work_area();
    const point outer = impl_->outer_size(width, height);
    const point p =
        centered_position(reference, width, height, outer.x, outer.y, {work.left, work.top, work.right, work.bottom});
    SetWindowPos(impl_->hwnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

int32_t window::max_client_height() const {
    const RECT work = work_area();
    const int32_t frame = impl_->outer_size(0, 0).y;
    // centered_position keeps one pixel free above a window as tall as the work area.
    const int32_t pixels = work.bottom - work.top - frame - 1;
    return std::max(pixels_to_dips(pixels, impl_->dpi_y), 0);
}

void window::invalidate(const edges& area) {
    if (!impl_->hwnd) return;
    const edges px = dips_to_pixels_outward(area, impl_->dpi_x, impl_->dpi_y);
    const RECT r{px.left, px.top, px.right, px.bottom};
    InvalidateRect(impl_->hwnd, &r, FALSE);
}

void window::update_now() {
    if (impl_->hwnd) UpdateWindow(impl_->hwnd);
}

void window::add_widget(widget* w) { router_.add_widget(w); }

void window::forget_widget(widget* w) {
    router_.forget_widget(w);
    // Nothing may fire at the dead widget, nor at a new object that takes its address.
    timers_.forget(w);
    tooltips_.forget(w, tooltip_.get());
}

void window::add_tooltip(uint64_t key, const rect& area, const std::string& title, const std::string& text) {
    if (tooltips_.add(key, area, title, text) == tooltip_registry::added::ignored || tooltip_ || !created_) return;
    auto made = std::make_unique<tooltip>();
    made->set_owner(this);
    made->create("", {0, 0, 400, 200}, static_cast<uint16_t>(window_flag::popup | window_flag::topmost));
    tooltip_ = std::move(made);
    SetTimer(impl_->hwnd, tooltip_timer_id, tooltip_timer_period_ms, nullptr);
}

void window::on_timer(uint32_t id) {
    if (id == tooltip_timer_id)
        update_tooltip();
    else
        timers_.on_timer(id);
}

void window::update_tooltip() {
    if (tooltip_) tooltips_.tick(*this, *tooltip_);
}

void window::start(uint32_t id, uint32_t period_ms) {
    if (impl_->hwnd) SetTimer(impl_->hwnd, id, period_ms, nullptr);
}

void window::stop(uint32_t id) {
    if (impl_->hwnd) KillTimer(impl_->hwnd, id);
}

double window::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool window::shown_flag() const { return impl_->shown; }

void window::set_shown_flag(bool shown) { impl_->shown = shown; }

point window::get_cursor_position(const widget* w) const {
    POINT p{};
    if (const std::optional<POINT> place = handled_mouse_place()) p = *place;
    else GetCursorPos(&p);
    if (w) ScreenToClient(impl_->hwnd, &p);
    const point dpi = screen_dpi();
    const point dips{static_cast<int32_t>(p.x * static_cast<int32_t>(dips_per_inch) / dpi.x),
                     static_cast<int32_t>(p.y * static_cast<int32_t>(dips_per_inch) / dpi.y)};
    return w ? relative_to_widget(dips, *w) : dips;
}

void window::set_capture(widget* w) {
    set_capture_widget(w);
    if (w)
        SetCapture(impl_->hwnd);
    else
        ReleaseCapture();
}

widget* window::widget_at(point p) const { return qssdk::ui::widget_at(root_, p); }

bool window::dispatch_event(const event_info& e) {
    router_.dispatch(static_cast<event_id>(e.id), e.value);
    return true;
}

void window::dispatch(event_id id, uint64_t value) { router_.dispatch(id, value); }

point window::cursor_position() const { return get_cursor_position(&root_); }

bool window::shift_down() const {
    return (GetKeyState(VK_LSHIFT) & 0x8000) != 0 || (GetKeyState(VK_RSHIFT) & 0x8000) != 0;
}

void window::paint_widget(widget& w, const edges& dirty) { paint_tree(w, dirty, {0, 0}); }

void window::paint_tree(widget& w, const edges& dirty, point parent_origin) {
    if (!w.is_visible(true)) return;
    const rect& r = w.get_rect();
    const point origin{parent_origin.x + r.x, parent_origin.y + r.y};
    // Edges that touch count as meeting.
    if (dirty.left > origin.x + r.width || dirty.top > origin.y + r.height || dirty.right < origin.x ||
        dirty.bottom < origin.y)
        return;
    render_context& context = painter_->context();
    context.begin_widget(w, dirty);
    event_manager::instance().fire(&w, event_id::paint, 2, 1, 0);
    // Paint handlers may change the tree: walk the children as they stood.
    const std::vector<widget*> children = w.get_children();
    // The shadows lie over the parent's painting and under every child; a hidden child casts none.
    for (const widget* child : children) {
        const drop_shadow& shadow = child->get_shadow();
        if (shadow.enabled && child->is_visible(true))
            context.draw_shadow(child->get_rect(), shadow.offset_x, shadow.offset_y,
                                static_cast<unsigned>(std::max(shadow.size, 0)));
    }
    for (widget* child : children) paint_tree(*child, dirty, origin);
    if (!context.end_widget()) paint_failed_ = true;
}

void window::paint_update_region() {
    const HWND hwnd = impl_->hwnd;
    render_context& context = painter_->context();
    // A paint still open here was cut short by a fault below a drawing call, which unwound past it: what
    // it drew is lost, so the whole window is painted again.
    if (context.painting()) {
        context.abandon_paint();
        OutputDebugStringA("window paint failed: a fault below the drawing calls\n");
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    RECT r{};
    if (!GetUpdateRect(hwnd, &r, FALSE)) return;
    // A minimised window has nothing to show, and drawing into its empty target faults in some drawing
    // libraries; it is painted whole when it is restored.
    RECT client{};
    GetClientRect(hwnd, &client);
    if (IsIconic(hwnd) || client.right <= client.left || client.bottom <= client.top) {
        ValidateRect(hwnd, nullptr);
        return;
    }
    paint_failed_ = false;
    const edges dirty = pixels_to_dips_outward({r.left, r.top, r.right, r.bottom}, impl_->dpi_x, impl_->dpi_y);
    // A paint handler's exception must not cross the window procedure: the paint is ended, the fault
    // reported, and the next paint starts clean.
    try {
        paint_widget(root_, dirty);
    } catch (const std::exception& e) {
        abandon_paint(e.what());
    } catch (...) {
        abandon_paint("an exception of unknown type");
    }
    ValidateRect(hwnd, &r);
    // What a failed paint drew may be lost: the next paint draws the whole window. A failure right after a
    // failure asks for no paint of its own, so that a lasting fault cannot keep the window painting.
    if (paint_failed_ && !last_paint_failed_) InvalidateRect(hwnd, nullptr, FALSE);
    last_paint_failed_ = paint_failed_;
}

void window::abandon_paint(const char* cause) {
    render_context& context = painter_->context();
    while (context.painting()) context.end_widget();
    paint_failed_ = true;
    OutputDebugStringA((std::string("window paint failed: ") + cause + "\n").c_str());
}

HWND window::native_handle() const { return impl_->hwnd; }

uint32_t window::dpi_x() const { return impl_->dpi_x; }

uint32_t window::dpi_y() const { return impl_->dpi_y; }

}  // namespace qssdk::ui
