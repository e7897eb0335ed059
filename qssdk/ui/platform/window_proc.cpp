// The kit's window procedure: every native message of a kit window turned into kit events, routed by the
// window to its widgets.
#include <windows.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include <bit>
#include <optional>

#include "dip_conversion.h"
#include "ime_state.h"
#include "input_codes.h"
#include "painter.h"
#include "pair_packing.h"
#include "render_context.h"
#include "resize_hit_test.h"
#include "window.h"
#include "window_impl.h"

namespace qssdk::ui {

namespace {

// Button codes of the mouse events.
constexpr uint64_t left_button = static_cast<uint64_t>(mouse_button::left);
constexpr uint64_t middle_button = static_cast<uint64_t>(mouse_button::middle);
constexpr uint64_t right_button = static_cast<uint64_t>(mouse_button::right);
// A wheel event carries half the system's delta (one notch, 120, gives 60.0).
constexpr double wheel_scale = 0.5;

uint64_t low32(uint64_t v) { return v & 0xFFFFFFFFu; }

// Where the mouse was when the queued mouse message this thread handles now was made (screen pixels).
thread_local std::optional<POINT> queued_mouse_place;

// For the time one message is handled: a queued mouse message carries the place it was made at, which a
// busy window reaches only after the cursor may have moved on; a press made over one widget belongs to it.
// A sent message, or any other, has the cursor's own place.
class message_place_scope {
public:
    explicit message_place_scope(UINT message) : outer_(queued_mouse_place) {
        queued_mouse_place.reset();
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && !InSendMessage()) {
            const DWORD at = GetMessagePos();
            queued_mouse_place = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
        }
    }
    ~message_place_scope() { queued_mouse_place = outer_; }
    message_place_scope(const message_place_scope&) = delete;
    message_place_scope& operator=(const message_place_scope&) = delete;

private:
    std::optional<POINT> outer_;
};

}  // namespace

std::optional<POINT> handled_mouse_place() { return queued_mouse_place; }

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    // Messages before the window is attached (creation) and after it is detached (teardown) get the
    // system's handling.
    window_impl* impl = window_impl::attached_to(hwnd);
    if (!impl) return DefWindowProcW(hwnd, message, wparam, lparam);
    return impl->back.handle_message(message, wparam, lparam);
}

LRESULT window::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND hwnd = impl_->hwnd;
    const message_place_scope place(message);
    switch (message) {
    case WM_MOVE:
    case WM_COMMAND:
        return 0;
    case WM_SIZE: {
        // A minimised window keeps its target and layout, and is painted whole when shown again (as after
        // any change of size).
        if (wparam == SIZE_MINIMIZED) return 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        const auto width = static_cast<int32_t>(LOWORD(lparam)), height = static_cast<int32_t>(HIWORD(lparam));
        if (painter_) painter_->context().resize(static_cast<UINT>(width), static_cast<UINT>(height));
        dispatch(event_id::resized,
                 pack_pair(pixels_to_dips(width, impl_->dpi_x), pixels_to_dips(height, impl_->dpi_y)));
        return 0;
    }
    case WM_SETFOCUS:
        dispatch(event_id::focus_gained, 0);
        return 0;
    case WM_KILLFOCUS:
        dispatch(event_id::focus_lost, 0);
        return 0;
    case WM_PAINT:
        if (painter_) paint_update_region();
        else ValidateRect(hwnd, nullptr);
        return 0;
    case WM_CLOSE:
        close(false);
        return 1;
    case WM_SETCURSOR:
        // While the mouse is inside, widgets set the cursor themselves.
        if (!mouse_tracking_) DefWindowProcW(hwnd, message, wparam, lparam);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
        const point min_track = impl_->outer_size(dips_to_pixels(impl_->min_client.x, impl_->dpi_x),
                                                  dips_to_pixels(impl_->min_client.y, impl_->dpi_y));
        const point max_track = impl_->outer_size(dips_to_pixels(impl_->max_client.x, impl_->dpi_x),
                                                  dips_to_pixels(impl_->max_client.y, impl_->dpi_y));
        info->ptMinTrackSize = {min_track.x, min_track.y};
        info->ptMaxTrackSize = {max_track.x, max_track.y};
        return 0;
    }
    case WM_NCHITTEST: {
        if (!impl_->styles.custom_resize_hit_test) break;
        RECT outer{};
        GetWindowRect(hwnd, &outer);
        const auto hit = resize_hit_test(
            GET_X_LPARAM(lparam) - outer.left, GET_Y_LPARAM(lparam) - outer.top, outer.right - outer.left,
            outer.bottom - outer.top, dips_to_pixels(impl_->resize_border, impl_->dpi_x),
            dips_to_pixels(impl_->resize_border, impl_->dpi_y));
        if (!hit) break;
        return static_cast<LRESULT>(*hit);
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        dispatch(event_id::key_down, wparam);
        dispatch(event_id::key_down_raw, low32(wparam) | low32(static_cast<uint64_t>(lparam)) << 32);
        // System keys go on to the system after the widgets saw them: Alt+F4 closes the window through its
        // close query, Alt+Space opens the system menu.
        if (message == WM_SYSKEYDOWN) break;
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        dispatch(event_id::key_up, wparam);
        if (message == WM_SYSKEYUP) break;
        return 0;
    case WM_CHAR:
        dispatch(event_id::character, wparam);
        return 0;
    case WM_MOUSEMOVE:
        if (mouse_tracking_) {
            dispatch(event_id::mouse_move, 0);
            return 0;
        } else {
            // The first move after the mouse came in only asks to be told when it leaves.
            mouse_tracking_ = true;
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, HOVER_DEFAULT};
            TrackMouseEvent(&track);
            return 1;
        }
    case WM_LBUTTONDOWN:
        dispatch(event_id::mouse_down, left_button);
        return 0;
    case WM_LBUTTONUP:
        dispatch(event_id::mouse_up, left_button);
        return 0;
    case WM_RBUTTONDOWN:
        dispatch(event_id::mouse_down, right_button);
        return 0;
    case WM_RBUTTONUP:
        dispatch(event_id::mouse_up, right_button);
        return 0;
    case WM_MBUTTONDOWN:
        dispatch(event_id::mouse_down, middle_button);
        return 0;
    case WM_MBUTTONUP:
        dispatch(event_id::mouse_up, middle_button);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const uint64_t button = message == WM_LBUTTONDBLCLK   ? left_button
                                : message == WM_RBUTTONDBLCLK ? right_button
                                                              : middle_button;
        // A widget that does not take double clicks sees a second press.
        dispatch(cursor_widget_has_handler(event_id::double_click) ? event_id::double_click : event_id::mouse_down,
                 button);
        return 0;
    }
    case WM_MOUSEWHEEL:
        dispatch(event_id::mouse_wheel,
                 std::bit_cast<uint64_t>(static_cast<double>(GET_WHEEL_DELTA_WPARAM(wparam)) * wheel_scale));
        return 0;
    case WM_INPUTLANGCHANGE:
        if (ime_) ime_->on_input_language_changed();
        return 0;
    case WM_IME_STARTCOMPOSITION:
        // Not passed on: the system's composition window stays hidden.
        if (ime_) ime_->on_start_composition();
        return 0;
    case WM_IME_COMPOSITION:
        if (ime_) ime_->on_composition(lparam);
        return 0;
    case WM_IME_ENDCOMPOSITION:
        if (ime_) ime_->on_end_composition(lparam);
        return 0;
    case WM_TIMER:
        on_timer(static_cast<uint32_t>(wparam));
        return 0;
    case WM_IME_SETCONTEXT:
        // The system's composition window is not shown.
        return DefWindowProcW(hwnd, message, wparam, lparam & 0x7FFFFFFF);
    case WM_MOUSELEAVE:
        mouse_tracking_ = false;
        dispatch(event_id::mouse_leave, 0);
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (wparam == WTS_SESSION_LOCK) dispatch(event_id::session_locked, 0);
        else if (wparam == WTS_SESSION_UNLOCK) dispatch(event_id::session_unlocked, 0);
        return 0;
    case WM_USER:
        on_user_message(static_cast<uint32_t>(low32(static_cast<uint64_t>(lparam))));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace qssdk::ui
