// A linear layout container: stacks its children top to bottom or left to right with no wrapping,
// optionally stretches them across the panel, shares leftover length among stretching items, and takes
// the length of its content. It can fit itself to its parent and follow its children's size and
// visibility.
#pragma once

#include "event_info.h"
#include "flow_item_list.h"
#include "flow_layout.h"
#include "widget.h"

namespace qssdk::ui {

class flow_panel : public widget {
public:
    flow_panel(flow_direction direction, bool watch_children);

    void set_fill_cross(bool v) { fill_cross_ = v; }
    // Read when the panel is attached.
    void set_fill_parent(bool v) { fill_parent_ = v; }
    void set_auto_size(bool v) { auto_size_ = v; }
    // Spaces are added by the owner, who then calls layout.
    void add_space(flow_item_kind kind, int32_t length = 0) { items_.add_space(kind, length); }

    // Places the children; owners call it after adding or removing children.
    void layout();
    // Reaches the parent's far edge across the axis, and along it too when an item stretches; then lays out.
    void fit_to_parent();

    flow_direction direction() const { return direction_; }
    bool fill_parent() const { return fill_parent_; }
    bool has_stretch() const { return items_.has_stretch(); }
    const flow_item_list& items() const { return items_; }

private:
    void on_attached();
    void paint();
    void on_child_added(const event_info& e);
    void on_child_removed(const event_info& e);
    void on_resized(const event_info& e);
    void on_child_resized(const event_info& e);

    flow_direction direction_;
    bool fill_cross_ = false;
    bool fill_parent_ = false;
    bool auto_size_ = true;
    bool watch_children_;
    flow_item_list items_;
    bool handlers_connected_ = false;
    // Set while layout moves the children and the panel: the resize events that causes are its own.
    bool laying_out_ = false;
};

}  // namespace qssdk::ui
