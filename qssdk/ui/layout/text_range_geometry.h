// The bounding box of a character range in a laid-out text, built from the layout's line and cluster
// metrics: the way to find link areas where the text system offers no range hit test.
#pragma once

#include <cstdint>
#include <vector>

#include "float_box.h"
#include "rect.h"
#include "text_codes.h"

namespace qssdk::ui {

struct text_line_metrics {
    uint32_t length = 0;                      // UTF-16 positions, trailing white space and newline included
    uint32_t trailing_whitespace_length = 0;  // of them, not counted for alignment
    float height = 0.0f;
};

struct text_cluster_metrics {
    uint32_t length = 0;  // UTF-16 positions
    float width = 0.0f;
};

struct text_layout_frame {
    float width = 0.0f;  // the layout box's width; alignment places each line in it
    float top = 0.0f;    // where the first line starts (the layout's vertical alignment offset)
    text_alignment alignment = text_alignment::leading;
};

// Bounding box of [start, end) over all lines it touches; an empty box at (0, 0, 0, 0) when the range
// is empty, reversed or covers no cluster.
float_box text_range_box(const std::vector<text_line_metrics>& lines,
                         const std::vector<text_cluster_metrics>& clusters, const text_layout_frame& frame,
                         uint32_t start, uint32_t end);

// The box as {x, y, w, h}, each value rounded to the nearest integer, halves away from zero.
rect rounded_rect(const float_box& box);

}  // namespace qssdk::ui
