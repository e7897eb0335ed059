// Where the installer window puts its frame, pages and footer controls, worked out from the theme's sizes
// and the window's client size (device-independent pixels).
#pragma once

#include <cstdint>
#include <vector>

#include "HostEntry.h"
#include "rect.h"

namespace installer::layout {

using qssdk::ui::rect;

struct FrameSizes {
    std::int32_t header = 0;         // header_size
    std::int32_t footer = 0;         // footer_size
    std::int32_t banner_width = 0;   // banner_size
    std::int32_t banner_height = 0;
    std::int32_t width = 0;          // client area
    std::int32_t height = 0;
};

// The painted frame: header bar, banner, background, footer bar and the footer's licence line.
struct Frame {
    rect header, header_text, banner, background, footer, footer_text;
};
Frame frame(const FrameSizes& sizes);
// The logo at its natural size, centred in the header bar's height.
rect logo(const FrameSizes& sizes, std::int32_t logo_width, std::int32_t logo_height);

// Right of the banner, between header and footer: every page starts here.
rect page_area(const FrameSizes& sizes);

struct Footer {
    rect license_link, cancel, back, next;
};
Footer footer(const FrameSizes& sizes);

// A page sized to its content and centred in the page area.
rect centred(const rect& area, std::int32_t content_width, std::int32_t content_height);

// The selection page's check boxes, one per entry in list order. The Custom row (last) stands at the
// right of the first row; the hosts fill a two-column grid from the last found to the first, so the
// newest versions come first.
std::vector<rect> host_rows(const std::vector<host_entry>& entries, std::int32_t first_row_y);
// The Custom row's folder button beside it.
rect custom_folder_button(std::int32_t first_row_y);

}  // namespace installer::layout
