// Range boxes from line and cluster metrics.
#include "text_range_geometry.h"

#include <algorithm>
#include <cmath>

namespace qssdk::ui {

namespace {

// Where a line of the given drawn width starts in the layout box.
float line_left(const text_layout_frame& frame, float line_width) {
    switch (frame.alignment) {
        case text_alignment::trailing: return frame.width - line_width;
        case text_alignment::center: return (frame.width - line_width) / 2.0f;
        default: return 0.0f;
    }
}

}  // namespace

float_box text_range_box(const std::vector<text_line_metrics>& lines,
                         const std::vector<text_cluster_metrics>& clusters, const text_layout_frame& frame,
                         uint32_t start, uint32_t end) {
    if (end <= start) return {};
    bool found = false;
    float_box box;
    auto extend = [&](float left, float top, float right, float bottom) {
        if (!found) {
            box = {left, top, right, bottom};
            found = true;
            return;
        }
        box = {std::min(box.left, left), std::min(box.top, top), std::max(box.right, right),
               std::max(box.bottom, bottom)};
    };

    size_t cluster = 0;
    uint32_t line_start = 0;
    float top = frame.top;
    for (const text_line_metrics& line : lines) {
        const uint32_t line_end = line_start + line.length;
        const uint32_t aligned_end = line_end - std::min(line.trailing_whitespace_length, line.length);
        // The line's clusters, with the drawn width that alignment uses.
        const size_t first_cluster = cluster;
        float drawn_width = 0.0f;
        for (uint32_t pos = line_start; cluster < clusters.size() && pos < line_end; ++cluster) {
            if (pos < aligned_end) drawn_width += clusters[cluster].width;
            pos += clusters[cluster].length;
        }
        float x = line_left(frame, drawn_width);
        uint32_t pos = line_start;
        for (size_t c = first_cluster; c < cluster; ++c) {
            const uint32_t next = pos + clusters[c].length;
            if (pos < end && next > start)
                extend(x, top, x + clusters[c].width, top + line.height);
            x += clusters[c].width;
            pos = next;
        }
        top += line.height;
        line_start = line_end;
    }
    return found ? box : float_box{};
}

rect rounded_rect(const float_box& box) {
    return {static_cast<int32_t>(std::lround(box.left)), static_cast<int32_t>(std::lround(box.top)),
            static_cast<int32_t>(std::lround(box.right - box.left)),
            static_cast<int32_t>(std::lround(box.bottom - box.top))};
}

}  // namespace qssdk::ui
