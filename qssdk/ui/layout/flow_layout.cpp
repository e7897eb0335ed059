// The flow panel's layout.
#include "flow_layout.h"

#include <algorithm>

#include "saturate.h"

namespace qssdk::ui {

namespace {

int64_t non_negative(int64_t v) { return std::max<int64_t>(v, 0); }

bool takes_share(const flow_item& item) {
    return item.kind == flow_item_kind::stretch_space ||
           (item.kind == flow_item_kind::child && item.visible && item.stretch);
}

bool takes_room(const flow_item& item) {
    return item.kind == flow_item_kind::fixed_space || (item.kind == flow_item_kind::child && item.visible);
}

// Takes the shortfall from the lengths one equal cut at a time; a length that reaches 0 leaves the rest
// to the others, and the last pixels that do not divide are taken one each from the first lengths.
void take_shortfall(std::vector<int64_t>& lengths, int64_t shortfall) {
    while (shortfall > 0) {
        const int64_t active = std::count_if(lengths.begin(), lengths.end(), [](int64_t l) { return l > 0; });
        if (active == 0) return;
        const int64_t cut = std::max<int64_t>(shortfall / active, 1);
        for (int64_t& l : lengths) {
            if (l == 0 || shortfall == 0) continue;
            const int64_t take = std::min({l, cut, shortfall});
            l -= take;
            shortfall -= take;
        }
    }
}

}  // namespace

flow_result flow_layout(const flow_params& params, std::span<const flow_item> items) {
    flow_result result{{}, params.width, params.height};
    const bool vertical = params.direction == flow_direction::vertical;
    if (!vertical && params.direction != flow_direction::horizontal) return result;

    const auto length_of = [vertical](const flow_item& item) -> int64_t {
        if (item.kind == flow_item_kind::fixed_space) return non_negative(item.length);
        if (item.kind == flow_item_kind::stretch_space) return 0;
        return non_negative(vertical ? item.bounds.height : item.bounds.width);
    };

    // Natural lengths of the items that share the leftover, in item order.
    int64_t content = 0;
    std::vector<int64_t> stretched;
    for (const flow_item& item : items) {
        if (takes_room(item)) content += length_of(item);
        if (takes_share(item)) stretched.push_back(length_of(item));
    }
    if (!stretched.empty()) {
        const int64_t leftover = non_negative(vertical ? params.height : params.width) - content;
        if (leftover >= 0) {
            const int64_t share = leftover / static_cast<int64_t>(stretched.size());
            for (int64_t& l : stretched) l += share;
        } else {
            take_shortfall(stretched, -leftover);
        }
    }

    const int64_t breadth = non_negative(vertical ? params.width : params.height);
    int64_t p = 0;
    size_t next_share = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const flow_item& item = items[i];
        if (item.kind == flow_item_kind::child && !item.visible) continue;
        const int64_t length = takes_share(item) ? stretched[next_share++] : length_of(item);
        if (item.kind == flow_item_kind::child) {
            const rect& b = item.bounds;
            const int32_t cross = params.fill_cross ? saturate_int32(breadth)
                                                    : std::max<int32_t>(vertical ? b.width : b.height, 0);
            const rect placed = vertical ? rect{b.x, saturate_int32(p), cross, saturate_int32(length)}
                                         : rect{saturate_int32(p), b.y, saturate_int32(length), cross};
            result.placements.push_back({i, placed});
        }
        p += length;
    }

    if (params.auto_size) (vertical ? result.height : result.width) = saturate_int32(p);
    return result;
}

rect flow_fit_to_parent(flow_direction direction, bool has_stretch, const rect& panel, int32_t parent_width,
                        int32_t parent_height) {
    const int32_t to_right = saturate_int32(non_negative(int64_t{parent_width} - panel.x));
    const int32_t to_bottom = saturate_int32(non_negative(int64_t{parent_height} - panel.y));
    switch (direction) {
    case flow_direction::vertical: return {panel.x, panel.y, to_right, has_stretch ? to_bottom : panel.height};
    case flow_direction::horizontal: return {panel.x, panel.y, has_stretch ? to_right : panel.width, to_bottom};
    }
    return panel;
}

}  // namespace qssdk::ui
