// The flow panel's layout as a pure function: items stacked along one axis with no wrapping, stretching
// items sharing the leftover length, and the panel's own size when it follows its content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rect.h"

namespace qssdk::ui {

enum class flow_direction : int32_t { vertical = 0, horizontal = 1 };

enum class flow_item_kind : uint32_t {
    child = 0,          // a child widget
    stretch_space = 1,  // empty room that takes a share of the leftover length
    fixed_space = 2,    // empty room of a fixed length
};

struct flow_item {
    flow_item_kind kind = flow_item_kind::child;
    // A child's position across the axis and its natural size: its own size without any stretch share,
    // so that laying out again gives the same result.
    rect bounds;
    bool visible = true;  // a hidden child takes no room and no share
    bool stretch = false;  // a child that takes a share of the leftover length
    int32_t length = 0;    // a fixed space's length
};

struct flow_params {
    flow_direction direction = flow_direction::vertical;
    bool fill_cross = false;  // children span the panel across the axis
    bool auto_size = true;    // the panel's length becomes its content's
    int32_t width = 0, height = 0;
};

struct flow_placement {
    size_t item;  // index into the items
    rect bounds;
};

struct flow_result {
    std::vector<flow_placement> placements;  // every visible child, in item order
    int32_t width = 0, height = 0;           // the panel's size after auto-size
};

// Children stand one after another from 0 along the axis and keep their own position across it. The
// leftover length (the panel's length minus the visible children's natural lengths and the fixed
// spaces) is shared equally among the visible stretching children and the stretch spaces; a shortfall is
// taken from them as equally as their lengths allow, never below 0. No size comes out below 0. Any other
// direction places nothing and keeps the panel's size.
flow_result flow_layout(const flow_params& params, std::span<const flow_item> items);

// The panel's rect when it fits itself to its parent: it reaches the parent's far edge across the axis,
// and along the axis too when it has stretching items. Any other direction keeps the rect.
rect flow_fit_to_parent(flow_direction direction, bool has_stretch, const rect& panel, int32_t parent_width,
                        int32_t parent_height);

}  // namespace qssdk::ui
