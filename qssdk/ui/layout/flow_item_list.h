// The flow panel's items in stacking order: its children, each listed once, with the natural size the
// layout starts from, and the spaces its owner adds.
#pragma once

#include <cstdint>
#include <vector>

#include "flow_layout.h"

namespace qssdk::ui {

class widget;

struct flow_entry {
    widget* target = nullptr;  // null for a space
    flow_item_kind kind = flow_item_kind::child;
    bool stretch = false;
    int32_t length = 0;  // a fixed space's length
    int32_t natural_width = 0, natural_height = 0;  // a child's own size, without its stretch share
    int32_t known_width = 0, known_height = 0;      // the child's size as the list last knew it
};

class flow_item_list {
public:
    // Appends the child with its current size as its natural size. A child that is listed already keeps
    // its place: false then.
    bool add_child(widget& child, bool stretch);
    void add_space(flow_item_kind kind, int32_t length = 0);
    void remove_child(const widget* child);
    // A size the child took by itself (not from a layout) becomes its natural size.
    void child_resized(const widget& child);
    // Any child whose size is not the one the list last knew took it by itself meanwhile (a panel that
    // does not watch its children hears of no resize): that size becomes its natural size.
    void take_own_sizes();
    // The size a layout gave the child: not its own.
    void child_placed(const widget& child, const rect& given);
    bool has_stretch() const;
    // What flow_layout reads: each child's position, natural size and own visible flag.
    std::vector<flow_item> describe() const;
    const std::vector<flow_entry>& entries() const { return entries_; }

private:
    std::vector<flow_entry> entries_;
};

}  // namespace qssdk::ui
