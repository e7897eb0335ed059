// Where the tooltip window puts its title and text: 8 DIPs of space left and right of the content, 4 above
// and below, and a 2 DIP gap between title and text when both exist.
#pragma once

#include <cstdint>

#include "point.h"
#include "rect.h"
#include "size.h"

namespace qssdk::ui {

struct tooltip_layout {
    size title;  // zero when the title is empty
    size text;   // zero when the text is empty
    int32_t line_gap = 0;
    size content;
    rect window;  // at the show position, sized to the content and the margins

    // The boxes to draw in, for a client area of the given width.
    rect title_box(int32_t client_width) const;
    rect text_box(int32_t client_width) const;
};

// has_title and has_text say whether the strings are non-empty; the extents are their measured sizes.
tooltip_layout layout_tooltip(point position, bool has_title, size title, bool has_text, size text);

}  // namespace qssdk::ui
