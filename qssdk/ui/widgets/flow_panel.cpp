// The flow panel widget over the window-free flow layout and its item list.
#include "flow_panel.h"

#include "event_binding.h"
#include "event_manager.h"
#include "pair_packing.h"
#include "painter.h"

namespace qssdk::ui {

namespace {

widget* widget_at_address(uint64_t value) { return reinterpret_cast<widget*>(static_cast<uintptr_t>(value)); }

bool size_changed(uint64_t old_size, const rect& now) {
    const int32_pair old = unpack_pair(old_size);
    return old.low != now.width || old.high != now.height;
}

}  // namespace

flow_panel::flow_panel(flow_direction direction, bool watch_children)
    : direction_(direction), watch_children_(watch_children) {
    bind_handler(this, event_id::attached, std::bind(&flow_panel::on_attached, this), this);
    set_background_color({0.0f, 0.0f, 0.0f, 0.0f});
}

void flow_panel::on_attached() {
    // Attached again (a new parent): the handlers stay as they are, only the layout is redone.
    if (handlers_connected_) {
        if (fill_parent_)
            fit_to_parent();
        else
            layout();
        return;
    }
    handlers_connected_ = true;
    bind_member_handler(this, event_id::child_added, &flow_panel::on_child_added, this);
    bind_member_handler(this, event_id::child_removed, &flow_panel::on_child_removed, this);
    bind_handler(this, event_id::paint, std::bind(&flow_panel::paint, this), this);
    bind_member_handler(this, event_id::resized, &flow_panel::on_resized, this);
    if (fill_parent_) {
        bind_handler(this, event_id::parent_resized, std::bind(&flow_panel::fit_to_parent, this), this);
        fit_to_parent();
    }
}

void flow_panel::paint() {
    painter& p = *get_window()->get_painter();
    p.set_fill_color(get_style().get("default_back_color").color);
    p.fill_rect({0, 0, get_rect().width, get_rect().height});
}

void flow_panel::on_child_added(const event_info& e) {
    widget* child = widget_at_address(e.value);
    if (!child) return;
    const auto* nested = dynamic_cast<const flow_panel*>(child);
    const bool stretch = nested && nested->direction_ != direction_ && nested->fill_parent_;
    // A child added again keeps its one item and its one set of watchers.
    if (!items_.add_child(*child, stretch) || !watch_children_) return;
    event_manager& events = event_manager::instance();
    track_child_connection(child, events.connect(child, this, event_id::resized,
                                                 [this](const event_info& r) { on_child_resized(r); }));
    for (const event_id id : {event_id::hidden, event_id::shown})
        track_child_connection(child, events.connect(child, this, id, [this](const event_info&) { layout(); }));
}

void flow_panel::on_child_removed(const event_info& e) { items_.remove_child(widget_at_address(e.value)); }

void flow_panel::on_resized(const event_info& e) {
    if (!size_changed(e.value, get_rect())) return;
    if (fill_cross_ || items_.has_stretch()) layout();
}

void flow_panel::on_child_resized(const event_info& e) {
    // The resizes this panel's own layout makes are not news to it.
    if (laying_out_) return;
    const auto* child = dynamic_cast<const widget*>(e.source);
    if (!child) return;
    const int32_pair old = unpack_pair(e.value);
    const rect& now = child->get_rect();
    const bool length_changed = direction_ == flow_direction::vertical ? old.high != now.height
                                                                       : old.low != now.width || old.high != now.height;
    // Any size the child took by itself is its own from now on, even one that needs no new layout.
    items_.child_resized(*child);
    if (length_changed) layout();
}

void flow_panel::layout() {
    if (laying_out_) return;
    laying_out_ = true;
    struct end_of_layout {
        bool& flag;
        ~end_of_layout() { flag = false; }
    } guard{laying_out_};
    const rect own = get_rect();
    items_.take_own_sizes();
    const flow_result result =
        flow_layout({direction_, fill_cross_, auto_size_, own.width, own.height}, items_.describe());
    // Copied: a child's handlers may change the list while it is moved.
    const std::vector<flow_entry> entries = items_.entries();
    for (const flow_placement& placed : result.placements)
        if (widget* child = entries[placed.item].target) {
            items_.child_placed(*child, placed.bounds);
            child->set_rect(placed.bounds, true);
        }
    if (result.width != own.width || result.height != own.height)
        set_rect({own.x, own.y, result.width, result.height}, true);
}

void flow_panel::fit_to_parent() {
    if (const widget* parent = get_parent()) {
        const rect& p = parent->get_rect();
        set_rect(flow_fit_to_parent(direction_, items_.has_stretch(), get_rect(), p.width, p.height), true);
    }
    layout();
}

}  // namespace qssdk::ui
