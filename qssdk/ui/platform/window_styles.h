// The flag bits a kit window is created with, and the native styles they stand for.
#pragma once

#include <cstdint>

namespace qssdk::ui {

enum window_flag : uint16_t {
    // WS_POPUP with no extended style; overrides popup, caption_only, the boxes and topmost.
    // With resizable, the window answers the resize hit test itself.
    borderless = 1,
    popup = 2,         // WS_POPUP instead of a caption with a system menu
    caption_only = 4,  // a caption without system menu; popup and the boxes are ignored
    resizable = 8,     // a sizing frame (not with borderless)
    minimize_box = 16,
    maximize_box = 32,
    topmost = 64,
};

struct window_styles {
    uint32_t style = 0;
    uint32_t ex_style = 0;
    bool custom_resize_hit_test = false;

    bool operator==(const window_styles&) const = default;
};

window_styles styles_for_flags(uint16_t flags);

}  // namespace qssdk::ui
