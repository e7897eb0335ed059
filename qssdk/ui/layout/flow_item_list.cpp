// The flow panel's item list.
#include "flow_item_list.h"

#include <algorithm>

#include "widget.h"

namespace qssdk::ui {

bool flow_item_list::add_child(widget& child, bool stretch) {
    const auto listed = std::ranges::find(entries_, &child, &flow_entry::target);
    if (listed != entries_.end()) return false;
    const rect& r = child.get_rect();
    entries_.push_back({&child, flow_item_kind::child, stretch, 0, r.width, r.height, r.width, r.height});
    return true;
}

void flow_item_list::add_space(flow_item_kind kind, int32_t length) {
    entries_.push_back({nullptr, kind, kind == flow_item_kind::stretch_space, length, 0, 0, 0, 0});
}

void flow_item_list::remove_child(const widget* child) {
    if (child) std::erase_if(entries_, [child](const flow_entry& e) { return e.target == child; });
}

void flow_item_list::child_resized(const widget& child) {
    for (flow_entry& e : entries_)
        if (e.target == &child) {
            e.natural_width = e.known_width = child.get_rect().width;
            e.natural_height = e.known_height = child.get_rect().height;
        }
}

void flow_item_list::take_own_sizes() {
    for (flow_entry& e : entries_) {
        if (!e.target) continue;
        const rect& r = e.target->get_rect();
        if (r.width == e.known_width && r.height == e.known_height) continue;
        e.natural_width = e.known_width = r.width;
        e.natural_height = e.known_height = r.height;
    }
}

void flow_item_list::child_placed(const widget& child, const rect& given) {
    for (flow_entry& e : entries_)
        if (e.target == &child) {
            e.known_width = given.width;
            e.known_height = given.height;
        }
}

bool flow_item_list::has_stretch() const {
    return std::ranges::any_of(entries_, [](const flow_entry& e) { return e.stretch; });
}

std::vector<flow_item> flow_item_list::describe() const {
    std::vector<flow_item> items;
    items.reserve(entries_.size());
    for (const flow_entry& e : entries_) {
        flow_item item{e.kind, {}, true, e.stretch, e.length};
        if (e.target) {
            const rect& r = e.target->get_rect();
            item.bounds = {r.x, r.y, e.natural_width, e.natural_height};
            item.visible = e.target->is_visible(false);
        }
        items.push_back(item);
    }
    return items;
}

}  // namespace qssdk::ui
