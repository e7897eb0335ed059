#include "widget.h"

#include <algorithm>
#include <bit>

#include "capture_widget.h"
#include "event_manager.h"
#include "pair_packing.h"

namespace qssdk::ui {

namespace {

uint64_t address_of(const widget* w) { return static_cast<uint64_t>(std::bit_cast<uintptr_t>(w)); }

// The part of [low, high) that also lies in [clip_low, clip_high).
void clip(int32_t& low, int32_t& high, int32_t clip_low, int32_t clip_high) {
    low = std::max(low, clip_low);
    high = std::min(high, clip_high);
}

// One axis of the anchoring: position and length within a parent of the given length.
void anchor_axis(bool near, int32_t near_margin, bool far, int32_t far_margin, int32_t parent_length,
                 int32_t& position, int32_t& length) {
    if (near && far) {
        position = near_margin;
        length = parent_length - near_margin - far_margin;
    } else if (far) {
        position = parent_length - length - far_margin;
    } else if (near) {
        position = near_margin;
    }
}

}  // namespace

template <class F>
void widget::for_each_child(F f) {
    const std::vector<widget*> listed = children_;
    for (widget* c : listed)
        if (std::ranges::find(children_, c) != children_.end()) f(c);
}

widget::widget() : style_(this), child_connections_(initial_buckets) {}

widget::~widget() {
    if (window_) window_->forget_widget(this);
    if (capture_widget() == this) set_capture_widget(nullptr);
    if (parent_) parent_->remove_child(this);
    for (widget* c : children_) c->parent_ = nullptr;
    notify(event_id::destroyed);
}

void widget::create(widget* parent, const rect& r) {
    parent_ = parent;
    if (parent) window_ = parent->window_;
    initialize(r);
    notify(event_id::attached);
    if (parent) parent->add_child(this);
}

void widget::initialize(const rect& r) {
    rect_ = r;
    layout_rect_ = r;
    set_enabled(true);
    set_visible(true);
    if (window_) window_->add_widget(this);
    if (parent_) {
        set_parent_enabled(parent_->enabled_ && parent_->parent_enabled_);
        set_parent_visible(parent_->is_visible(true));
    }
    created_ = true;
}

void widget::set_parent(widget* p) {
    parent_ = p;
    if (!p) return;
    notify(event_id::parent_changed, address_of(p));
    notify(event_id::parent_resized, 0);
}

void widget::add_child(widget* c) {
    // A widget stands in one list once: a former parent lets it go first.
    if (c->parent_ && c->parent_ != this &&
        std::ranges::find(c->parent_->children_, c) != c->parent_->children_.end())
        c->parent_->remove_child(c);
    c->set_parent(this);
    c->set_parent_enabled(enabled_);
    c->set_parent_visible(visible_);
    if (std::ranges::find(children_, c) == children_.end()) children_.push_back(c);
    notify(event_id::child_added, address_of(c));
}

void widget::remove_child(widget* c) {
    // A widget wired to this parent by hand may be missing from the list; another parent's child is
    // left alone.
    if (!take_out(c) && c->parent_ != this) return;
    detach(c);
}

void widget::remove_all_children() {
    // Handlers of event 26 may remove, destroy or add children meanwhile: only those still listed are
    // detached, and children added by the handlers stay.
    const std::vector<widget*> listed = children_;
    for (widget* c : listed)
        if (take_out(c)) detach(c);
}

bool widget::take_out(widget* c) {
    const auto it = std::ranges::find(children_, c);
    if (it == children_.end()) return false;
    children_.erase(it);
    return true;
}

void widget::detach(widget* c) {
    c->parent_ = nullptr;
    c->parent_enabled_ = true;
    for (widget* g : c->children_) g->set_parent_enabled(c->enabled_);
    c->parent_visible_ = true;
    for (widget* g : c->children_) g->set_parent_visible(c->visible_);
    notify(event_id::child_removed, address_of(c));
    if (const auto tracked = child_connections_.find(c); tracked != child_connections_.end()) {
        const std::vector<uint32_t> ids = std::move(tracked->second);
        child_connections_.erase(tracked);
        for (const uint32_t id : ids) event_manager::instance().disconnect(id);
    }
}

void widget::track_child_connection(widget* child, uint32_t connection_id) {
    child_connections_[child].push_back(connection_id);
}

void widget::redraw(bool now) {
    if (!created_) return;
    invalidate(rect_);
    if (now && window_) window_->update_now();
}

bool widget::is_visible(bool including_parents) const {
    return visible_ && (!including_parents || parent_visible_);
}

void widget::set_enabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    for (widget* c : children_) c->set_parent_enabled(v);
    notify(v ? event_id::enabled : event_id::disabled);
    invalidate(rect_);
}

void widget::set_parent_enabled(bool v) {
    parent_enabled_ = v;
    // What is inherited below is this widget's state: the chain above and its own flag.
    for (widget* c : children_) c->set_parent_enabled(v && enabled_);
}

void widget::set_visible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    for (widget* c : children_) c->set_parent_visible(v);
    notify(v ? event_id::shown : event_id::hidden);
    invalidate(rect_);
}

void widget::set_parent_visible(bool v) {
    parent_visible_ = v;
    for (widget* c : children_) c->set_parent_visible(v && visible_);
}

void widget::set_background_color(const color& c) {
    style_.set_color("default_back_color", c);
    if (is_visible(true)) invalidate(rect_);
}

void widget::set_rect(const rect& r, bool also_layout) {
    const rect old = rect_;
    const rect next = r;  // r may be this widget's own rect, which handlers below may change
    rect_ = next;
    if (also_layout) layout_rect_ = next;
    if (!created_) return;

    const bool resized = old.width != next.width || old.height != next.height;
    const bool moved = old.x != next.x || old.y != next.y;
    if (!resized && !moved) return;
    if (resized) notify_resized(old);
    if (moved) {
        const uint64_t position = pack_pair(old.x, old.y);
        notify(event_id::moved, position);
        for_each_child([&](widget* c) { c->notify(event_id::parent_moved, position); });
    }
    invalidate(old);
    invalidate(next);
}

void widget::notify_resized(const rect& old) {
    const uint64_t size = pack_pair(old.width, old.height);
    notify(event_id::resized, size);
    for_each_child([&](widget* c) {
        c->notify(event_id::parent_resized, size);
        c->apply_anchors(rect_.width, rect_.height);
    });
}

void widget::apply_anchors(int32_t parent_width, int32_t parent_height) {
    const rect old = rect_;
    anchor_axis(anchors_.left, anchors_.left_margin, anchors_.right, anchors_.right_margin, parent_width, rect_.x,
                rect_.width);
    anchor_axis(anchors_.top, anchors_.top_margin, anchors_.bottom, anchors_.bottom_margin, parent_height, rect_.y,
                rect_.height);
    if (!created_) return;
    // A widget resized by its anchors tells its own children too, so that they follow in turn.
    if (old.width != rect_.width || old.height != rect_.height) notify_resized(old);
    invalidate(rect_);
}

edges widget::get_visible_rect(const rect& r) const {
    edges e{r.x, r.y, r.x + r.width, r.y + r.height};
    for (const widget* a = parent_; a; a = a->parent_) {
        const rect& ar = a->rect_;
        e.left += ar.x;
        e.right += ar.x;
        e.top += ar.y;
        e.bottom += ar.y;
        clip(e.left, e.right, ar.x, ar.x + ar.width);
        clip(e.top, e.bottom, ar.y, ar.y + ar.height);
    }
    return e;
}

void widget::notify(event_id id, uint64_t value) { event_manager::instance().fire(this, id, 2, 1, value); }

void widget::invalidate(const rect& r) const {
    if (created_ && window_ && !r.empty()) window_->invalidate(get_visible_rect(r));
}

}  // namespace qssdk::ui
