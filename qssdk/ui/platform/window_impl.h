// The native part of a kit window: the window handle, the class registration, the styles and DPI it was
// made with, the modal-loop flag and the OLE drop target.
#pragma once

#include <windows.h>
#include <wtsapi32.h>

#include <cstdint>
#include <optional>

#include "native_drop_target.h"
#include "point.h"
#include "rect.h"
#include "system_library.h"
#include "window_styles.h"

namespace qssdk::ui {

class window;

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// While a kit window of this thread handles a queued mouse message: where the mouse was when it was made
// (screen pixels); else nothing, and the cursor's place is where the mouse is.
std::optional<POINT> handled_mouse_place();

class window_impl {
public:
    // Loads the session-notification library, initialises OLE for the window's thread and locks the drop
    // target. Throws qs_exception "unable to load the session library wtsapi32.dll (error <code>)".
    explicit window_impl(window& owner);
    // Revokes the drop target, gives the owner back its input, destroys the native window, unlocks the
    // drop target and uninitialises OLE where its initialisation succeeded.
    ~window_impl();
    window_impl(const window_impl&) = delete;
    window_impl& operator=(const window_impl&) = delete;

    // Registers the class once per process, reads the screen DPI and makes the native window with the
    // client area r (DIPs) under owner's native window; attaches this object to it and registers the drop
    // target and the session notification.
    void create(const window_impl* owner, const qssdk::ui::rect& r, uint16_t flags);
    // The object stands for a native window it did not make, which it leaves as it found it.
    void stand_for(HWND native);
    // From now on the native window's messages no longer reach the object, which is being torn down.
    void detach();
    // Re-enables and focuses the native owner (not the desktop).
    void release_owner() const;
    HWND native_owner() const;
    // The frame the window's styles add around its client area, as the edges of a client rect at 0, 0.
    RECT frame() const;
    // The outer size of a client area of that size, in device pixels.
    point outer_size(int32_t client_width, int32_t client_height) const;

    // The window procedure's object, or null while none is attached.
    static window_impl* attached_to(HWND hwnd);

    HWND hwnd = nullptr;
    window& back;
    bool modal_running = false;
    bool shown = false;  // set and read by the tooltip window
    window_styles styles;
    int32_t resize_border = 8;  // DIPs, for the custom resize hit test
    uint32_t dpi_x = 96, dpi_y = 96;
    point min_client{0, 0};
    point max_client{100000, 100000};

private:
    // First of the private members: loaded before OLE is initialised, so a missing library leaves nothing
    // to undo.
    qssdk::system_library sessions_;
    decltype(&WTSRegisterSessionNotification) register_session_;
    decltype(&WTSUnRegisterSessionNotification) unregister_session_;
    native_drop_target drop_target_;
    HRESULT ole_result_;
    bool drop_target_registered_ = false;
    bool session_notification_ = false;
    bool foreign_ = false;
};

// The class name the kit's windows are registered under in this process: "QSSDK_WINDOW_CLASS", with
// "0" appended for as long as another class of this module holds the name.
const wchar_t* window_class_name();

}  // namespace qssdk::ui
