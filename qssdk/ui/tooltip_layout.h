// Where the tooltip window puts its title and text: 8 DIPs of space left and right of the content, 4 above
// and below, and a 2 DIP gap between title and text when both exist.
#pragma once

#include <cstdint>

#include "point.h"
#include "rect.h"

namespace qssdk::ui {

// A measured text in DIPs; zero for an empty one.
struct text_extent {
    int32_t width = 0, height = 0;

    constexpr bool operator==(const text_extent&) const = default;
};

struct tooltip_layout {
    text_extent title;  // zero when the title is empty
    text_extent text;   // zero when the text is empty
    int32_t line_gap = 0;
    text_extent content;
    rect window;  // at the show position, sized to the content and the margins

    // The boxes to draw in, for a client area of the given width.
    rect title_box(int32_t client_width) const;
    rect text_box(int32_t client_width) const;
};

// has_title and has_text say whether the strings are non-empty; the extents are their measured sizes.
tooltip_layout layout_tooltip(point position, bool has_title, text_extent title, bool has_text, text_extent text);

}  // namespace qssdk::ui
