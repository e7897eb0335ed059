// Base of every child control of a window: its style store, its place in the widget tree, its rect with
// anchoring, its own and inherited visible and enabled states, its tab stop and its drop shadow. A widget
// draws nothing itself (painting happens in handlers of event 12). Widgets are owned by value by their
// owner objects; the tree holds plain pointers and never deletes a widget.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "color.h"
#include "edges.h"
#include "event_id.h"
#include "event_object.h"
#include "fnv1a_hash.h"
#include "rect.h"
#include "style.h"
#include "widget_host.h"

namespace qssdk::ui {

// Anchors keep a widget's edges at fixed margins from its parent's edges when the parent is resized.
struct anchors {
    bool top = false;
    int32_t top_margin = 0;
    bool bottom = false;
    int32_t bottom_margin = 0;
    bool left = false;
    int32_t left_margin = 0;
    bool right = false;
    int32_t right_margin = 0;
};

// Drawn around the widget by the window's paint walk, over the parent's painting and under its children.
struct drop_shadow {
    bool enabled = false;
    int32_t offset_x = 0, offset_y = 0;
    int32_t size = 20;
};

class widget : public event_object {
public:
    widget();
    // Forgets the widget in its window and the capture, leaves its parent (event 26 there), orphans its
    // children (they are not destroyed) and fires 18 (destroyed). Destroy a widget before its window.
    ~widget() override;

    // Joins the tree under parent (its window is taken from there): initialize, event 17 (attached),
    // then parent->add_child.
    void create(widget* parent, const qssdk::ui::rect& r);
    // Places, enables and shows the widget, lists it in its window and takes the inherited states from
    // its parent. Called directly for widgets whose parent and window are set by hand.
    void initialize(const qssdk::ui::rect& r);
    // With a parent: events 27 (parent_changed) then 23 (parent_resized, value 0).
    void set_parent(widget* p);
    void set_window(widget_host* w) { window_ = w; }

    // Hands the child this widget's own enabled and visible flags; event 25 (child_added).
    virtual void add_child(widget* c);
    // Detaches the child (its inherited flags back to true), event 26 (child_removed), and disconnects
    // what this widget connected on it. No repaint.
    virtual void remove_child(widget* c);
    virtual void remove_all_children();
    // Marks the visible part for repainting; with now, the window repaints at once.
    virtual void redraw(bool now);
    // Own flag, or with including_parents the own and the inherited flag together.
    virtual bool is_visible(bool including_parents) const;

    // Events 21/22 when the flag changes; direct children inherit the own flag.
    void set_enabled(bool v);
    void set_parent_enabled(bool v);
    // Events 35/36 when the flag changes; direct children inherit the own flag.
    void set_visible(bool v);
    void set_parent_visible(bool v);
    void set_tab_stop(bool v) { tab_stop_ = v; }
    void set_name(std::string_view name) { name_.assign(name); }
    // The own "default_back_color" (event 43), repainted when shown.
    void set_background_color(const color& c);
    // Once created: event 13 (resized, old size) when the size changes, with 23 and re-anchoring on each
    // child; event 14 (moved, old position) when the position changes, with 24 on each child; the old and
    // the new area are repainted. The same rect changes nothing.
    void set_rect(const qssdk::ui::rect& r, bool also_layout);
    void set_layout_rect(const qssdk::ui::rect& r) { set_rect(r, true); }
    // r (in the parent's coordinates) moved into the window's client coordinates and clipped by every
    // ancestor's rect.
    edges get_visible_rect(const qssdk::ui::rect& r) const;
    // Moves and sizes the widget by its anchors within a parent of that size; the layout rect stays.
    void apply_anchors(int32_t parent_width, int32_t parent_height);
    void set_anchors(const anchors& a) { anchors_ = a; }
    void set_shadow(const drop_shadow& s) { shadow_ = s; }

    qssdk::ui::style& get_style() { return style_; }
    const qssdk::ui::style& get_style() const { return style_; }
    widget* get_parent() const { return parent_; }
    widget_host* get_window() const { return window_; }
    const std::vector<widget*>& get_children() const { return children_; }
    const std::string& get_name() const { return name_; }
    const qssdk::ui::rect& get_rect() const { return rect_; }
    const qssdk::ui::rect& get_layout_rect() const { return layout_rect_; }
    const anchors& get_anchors() const { return anchors_; }
    const drop_shadow& get_shadow() const { return shadow_; }
    bool is_created() const { return created_; }
    bool is_enabled() const { return enabled_; }
    bool is_parent_enabled() const { return parent_enabled_; }
    bool is_parent_visible() const { return parent_visible_; }
    bool has_tab_stop() const { return tab_stop_; }

protected:
    // Containers that listen to a child record the connection here; removing the child disconnects it.
    void track_child_connection(widget* child, uint32_t connection_id);

private:
    void notify(event_id id, uint64_t value = 0);
    void notify_resized(const qssdk::ui::rect& old);
    void invalidate(const qssdk::ui::rect& r) const;
    bool take_out(widget* c);
    void detach(widget* c);
    // Calls f for each child, skipping those that earlier calls (handlers) removed or destroyed.
    template <class F>
    void for_each_child(F f);

    qssdk::ui::style style_;
    bool created_ = false;
    std::unordered_map<widget*, std::vector<uint32_t>, fnv1a_hash> child_connections_;
    widget* parent_ = nullptr;
    widget_host* window_ = nullptr;
    std::vector<widget*> children_;
    std::string name_ = "Widget";
    bool visible_ = false;
    bool parent_visible_ = true;
    bool tab_stop_ = false;
    bool enabled_ = true;
    bool parent_enabled_ = true;
    qssdk::ui::rect rect_;
    qssdk::ui::rect layout_rect_;
    anchors anchors_;
    drop_shadow shadow_;
};

}  // namespace qssdk::ui
