// The clickable areas of a label's links: built from the HTML runs and the text layout, and hit-tested
// with the cursor.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rect.h"
#include "text_run.h"

namespace qssdk::ui {

struct link_area {
    qssdk::ui::rect rect;  // label coordinates
    std::string href;

    bool operator==(const link_area&) const = default;
};

// Where the text layout puts the bytes [start, end) of the text, in label coordinates.
using text_range_locator = std::function<rect(uint32_t start, uint32_t end)>;

// One area per link run, in run order; a run over no text (or past the text's end) gets an empty area
// and the locator is not asked.
std::vector<link_area> make_link_areas(std::string_view text, std::span<const text_run> runs,
                                       const text_range_locator& locate);

// The first area that contains the point, edges included; an empty area never does. Null when none.
const link_area* link_at(std::span<const link_area> areas, int32_t x, int32_t y);

}  // namespace qssdk::ui
