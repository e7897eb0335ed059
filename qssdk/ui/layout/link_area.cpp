// Link areas of text labels.
#include "link_area.h"

namespace qssdk::ui {

std::vector<link_area> make_link_areas(std::string_view text, std::span<const text_run> runs,
                                       const text_range_locator& locate) {
    std::vector<link_area> areas;
    for (const text_run& run : runs) {
        if (run.href.empty()) continue;
        const bool spans_text = run.start < run.end && run.end <= text.size();
        areas.push_back({spans_text ? locate(run.start, run.end) : rect{}, run.href});
    }
    return areas;
}

const link_area* link_at(std::span<const link_area> areas, int32_t x, int32_t y) {
    for (const link_area& area : areas)
        if (area.rect.contains_with_edges(x, y)) return &area;
    return nullptr;
}

}  // namespace qssdk::ui
