#include "window_impl.h"

#include <string>

#include "dip_conversion.h"
#include "window.h"

namespace qssdk::ui {

namespace {

constexpr size_t class_name_capacity = 256;

// The class is registered for the process's main module with this module's window procedure. It goes
// when this module unloads (a plug-in inside a host), so that a host loading the module again registers a
// class whose procedure exists, under the same name.
struct class_registration {
    std::wstring name = L"QSSDK_WINDOW_CLASS";
    bool registered = false;
    ~class_registration() {
        if (registered) UnregisterClassW(name.c_str(), GetModuleHandleW(nullptr));
    }
};
class_registration registration;

void register_window_class() {
    if (registration.registered) return;
    std::wstring& class_name = registration.name;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    while (class_name.size() + 1 < class_name_capacity && GetClassInfoExW(module, class_name.c_str(), &existing))
        class_name += L'0';
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = window_proc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = class_name.c_str();
    registration.registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

const wchar_t* window_class_name() { return registration.name.c_str(); }

window_impl::window_impl(window& owner)
    : back(owner),
      sessions_(L"wtsapi32.dll", "session library"),
      register_session_(sessions_.entry_point<decltype(register_session_)>("WTSRegisterSessionNotification")),
      unregister_session_(sessions_.entry_point<decltype(unregister_session_)>("WTSUnRegisterSessionNotification")),
      drop_target_(owner),
      ole_result_(OleInitialize(nullptr)) {
    CoLockObjectExternal(&drop_target_, TRUE, FALSE);
}

window_impl::~window_impl() {
    if (drop_target_registered_) RevokeDragDrop(hwnd);
    if (hwnd && !foreign_) {
        release_owner();
        DestroyWindow(hwnd);
    }
    CoLockObjectExternal(&drop_target_, FALSE, FALSE);
    if (SUCCEEDED(ole_result_)) OleUninitialize();
}

void window_impl::create(const window_impl* owner, const rect& r, uint16_t flags) {
    register_window_class();
    styles = styles_for_flags(flags);
    const HDC screen = GetDC(nullptr);
    dpi_x = static_cast<uint32_t>(GetDeviceCaps(screen, LOGPIXELSX));
    dpi_y = static_cast<uint32_t>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);

    const point outer = outer_size(dips_to_pixels(r.width, dpi_x), dips_to_pixels(r.height, dpi_y));
    hwnd = CreateWindowExW(styles.ex_style, registration.name.c_str(), L"", styles.style, dips_to_pixels(r.x, dpi_x),
                           dips_to_pixels(r.y, dpi_y), outer.x, outer.y, owner ? owner->hwnd : nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    session_notification_ = register_session_(hwnd, NOTIFY_FOR_THIS_SESSION) != FALSE;
    if (!drop_target_registered_) drop_target_registered_ = SUCCEEDED(RegisterDragDrop(hwnd, &drop_target_));
}

void window_impl::stand_for(HWND native) {
    hwnd = native;
    foreign_ = true;
}

void window_impl::detach() {
    if (!hwnd || foreign_) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (session_notification_) unregister_session_(hwnd);
    session_notification_ = false;
}

HWND window_impl::native_owner() const {
    const HWND owner = hwnd ? GetWindow(hwnd, GW_OWNER) : nullptr;
    return owner == GetDesktopWindow() ? nullptr : owner;
}

RECT window_impl::frame() const {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, styles.style, FALSE, styles.ex_style);
    return r;
}

point window_impl::outer_size(int32_t client_width, int32_t client_height) const {
    const RECT f = frame();
    return {client_width + f.right - f.left, client_height + f.bottom - f.top};
}

void window_impl::release_owner() const {
    if (const HWND owner = native_owner()) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
}

window_impl* window_impl::attached_to(HWND hwnd) {
    return reinterpret_cast<window_impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace qssdk::ui
