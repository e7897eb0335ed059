#include "window_styles.h"

#include <windows.h>

namespace qssdk::ui {

window_styles styles_for_flags(uint16_t flags) {
    window_styles s;
    if (flags & borderless) {
        s.style = WS_POPUP;
        s.custom_resize_hit_test = (flags & resizable) != 0;
    } else if (flags & caption_only) {
        s.style = WS_CAPTION;
    } else {
        s.style = (flags & popup) ? WS_POPUP : WS_CAPTION | WS_SYSMENU;
        if (flags & minimize_box) s.style |= WS_MINIMIZEBOX;
        if (flags & maximize_box) s.style |= WS_MAXIMIZEBOX;
    }
    if (!(flags & borderless)) {
        if (flags & resizable) s.style |= WS_THICKFRAME;
        if (flags & topmost) s.ex_style |= WS_EX_TOPMOST;
    }
    s.style |= WS_CLIPCHILDREN;
    return s;
}

}  // namespace qssdk::ui
