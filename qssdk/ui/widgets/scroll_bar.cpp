// The scroll bar widget over the window-free scroll arithmetic.
#include "scroll_bar.h"

#include <bit>
#include <optional>

#include "event_binding.h"
#include "event_manager.h"
#include "input_codes.h"
#include "painter.h"
#include "text_codes.h"

namespace qssdk::ui {

namespace {

// The arrow picture holds both arrows of one axis: 8 x 8 DIPs, one half per button.
constexpr int32_t arrow_side = 8;
constexpr int32_t arrow_half = arrow_side / 2;
// Grip lines across the thumb: three, 3 DIPs apart, kept 4 DIPs from its sides.
constexpr int32_t grip_gap = 3;
constexpr int32_t grip_inset = 4;

uint64_t event_value(int32_t v) { return static_cast<uint64_t>(static_cast<int64_t>(v)); }

}  // namespace

scroll_bar::scroll_bar() : arrow_image_(image::create()) {
    bind_handler(this, event_id::attached, std::bind(&scroll_bar::on_attached, this), this);
}

scroll_bar::~scroll_bar() { forget_content(); }

void scroll_bar::on_attached() {
    // Attached again (a new parent): the handlers stay as they are, only the layout is redone.
    if (!handlers_connected_) {
        handlers_connected_ = true;
        bind_handler(this, event_id::paint, std::bind(&scroll_bar::paint, this), this);
        bind_member_handler(this, event_id::mouse_down, &scroll_bar::on_mouse_down, this);
        bind_member_handler(this, event_id::mouse_up, &scroll_bar::on_mouse_up, this);
        bind_handler(this, event_id::mouse_move, std::bind(&scroll_bar::on_mouse_move, this), this);
        bind_member_handler(this, event_id::mouse_wheel, &scroll_bar::on_wheel, this);
        bind_handler(this, event_id::resized, std::bind(&scroll_bar::layout, this), this);
    }
    layout();
}

void scroll_bar::set_content(widget* content) {
    forget_content();
    content_ = content;
    if (!content_) return;
    event_manager& events = event_manager::instance();
    content_destroyed_connection_ =
        events.connect(content_, this, event_id::destroyed, [this](const event_info&) { forget_content(); });
    if (widget* viewport = content_->get_parent())
        content_removed_connection_ =
            events.connect(viewport, this, event_id::child_removed, [this](const event_info& e) {
                if (e.value == reinterpret_cast<uintptr_t>(content_)) forget_content();
            });
}

void scroll_bar::forget_content() {
    event_manager& events = event_manager::instance();
    for (std::optional<uint32_t>* id : {&content_destroyed_connection_, &content_removed_connection_}) {
        if (*id) events.disconnect(**id);
        id->reset();
    }
    content_ = nullptr;
}

void scroll_bar::layout() { update_thumb(); }

void scroll_bar::update_thumb() {
    const rect& r = get_rect();
    shape_.width = r.width;
    shape_.height = r.height;
    shape_.min_thumb = get_style().get("scroll_min_size").as_int();
    std::optional<scroll_content> content;
    const widget* viewport = content_ ? content_->get_parent() : nullptr;
    if (viewport) {
        const rect& c = content_->get_rect();
        const rect& v = viewport->get_rect();
        content = vertical() ? scroll_content{c.y, c.height, v.height} : scroll_content{c.x, c.width, v.width};
    }
    metrics_ = measure_scroll_bar(shape_, content);
    // A content past its end (the viewport grew or the content shrank) is pulled back to the end.
    if (metrics_.overruns) set_position(metrics_.max_value, true);
    redraw(false);
}

void scroll_bar::fit_content() {
    if (!content_ || !content_->get_parent()) return;
    const rect& c = content_->get_rect();
    const rect& v = content_->get_parent()->get_rect();
    const scroll_content now = vertical() ? scroll_content{c.y, c.height, v.height} : scroll_content{c.x, c.width, v.width};
    if (const std::optional<int32_t> offset = fitted_content_offset(now)) move_content(*offset);
    update_thumb();
}

void scroll_bar::move_content(int32_t offset) {
    if (!content_) return;
    rect r = content_->get_rect();
    if (shape_.orientation == scroll_orientation::vertical)
        r.y = offset;
    else if (shape_.orientation == scroll_orientation::horizontal)
        r.x = offset;
    else
        return;
    content_->set_rect(r, true);
}

void scroll_bar::scroll_by(int32_t delta) {
    if (content_) {
        const rect& c = content_->get_rect();
        move_content(content_offset_scrolled_by(vertical() ? c.y : c.x, delta, metrics_.max_value));
    }
    fire_value(metrics_.value);
}

void scroll_bar::set_position(int32_t position, bool exact) {
    const int32_t snapped = exact ? position : snap_scroll_position(position, step_);
    move_content(content_offset_for_position(snapped, metrics_.max_value));
    fire_value(position);
}

void scroll_bar::fire_value(int32_t value) {
    redraw(false);
    event_manager::instance().fire(this, event_id::value_changed, 2, 1, event_value(value));
}

void scroll_bar::on_wheel(const event_info& e) { scroll_by(wheel_scroll_delta(std::bit_cast<double>(e.value))); }

point scroll_bar::cursor() const { return get_window() ? get_window()->get_cursor_position(this) : point{}; }

void scroll_bar::on_mouse_down(const event_info& e) {
    if (e.value != static_cast<uint64_t>(mouse_button::left)) return;
    const point p = cursor();
    const scroll_part part = scroll_hit(shape_, metrics_, p.x, p.y);
    if (part == scroll_part::thumb) {
        dragging_ = true;
        const int32_t travel = thumb_travel(metrics_);
        drag_offset_ = {p.x - travel, p.y - travel};
        if (get_window()) get_window()->set_capture(this);
        return;
    }
    if (const std::optional<int32_t> position = track_click_position(shape_, metrics_, part, p.x, p.y))
        set_position(*position, true);
}

void scroll_bar::on_mouse_move() {
    if (!dragging_) return;
    const point p = cursor();
    const int32_t travel = vertical() ? p.y - drag_offset_.y : p.x - drag_offset_.x;
    if (const std::optional<int32_t> position = drag_position(metrics_, travel)) set_position(*position, false);
}

void scroll_bar::on_mouse_up(const event_info& e) {
    if (e.value != static_cast<uint64_t>(mouse_button::left)) return;
    if (dragging_) {
        dragging_ = false;
        if (get_window()) get_window()->set_capture(nullptr);
        return;
    }
    if (!content_ || !shape_.show_buttons) return;
    const point p = cursor();
    switch (scroll_hit(shape_, metrics_, p.x, p.y)) {
    case scroll_part::first_button: scroll_by(step_); break;
    case scroll_part::second_button: scroll_by(-step_); break;
    default: break;
    }
}

void scroll_bar::paint() {
    const rect& r = get_rect();
    paint_track({0, 0, r.width, r.height});
    paint_thumb(metrics_.thumb);
    if (shape_.show_buttons) {
        paint_buttons(metrics_.first_button, true);
        paint_buttons(metrics_.second_button, false);
    }
}

void scroll_bar::paint_track(const rect& area) {
    painter& p = *get_window()->get_painter();
    p.set_fill_color(get_style().get("scroll_back_color").color);
    p.fill_rect({0, 0, area.width, area.height});
}

void scroll_bar::paint_thumb(const rect& t) {
    painter& p = *get_window()->get_painter();
    p.set_fill_color(get_style().get("scroll_bar_back_color").color);
    p.fill_rect(t);
    p.set_stroke_style(stroke_code_solid);
    p.set_pen(get_style().get("scroll_bar_line_color").color, 1.0f);
    for (const int32_t shift : {-grip_gap, 0, grip_gap}) {
        if (vertical()) {
            const int32_t y = t.y + t.height / 2 + shift;
            p.draw_line({grip_inset, y}, {t.width - grip_inset, y});
        } else {
            const int32_t x = t.x + t.width / 2 + shift;
            p.draw_line({x, grip_inset}, {x, t.height - grip_inset});
        }
    }
}

void scroll_bar::paint_buttons(const rect& b, bool first) {
    painter& p = *get_window()->get_painter();
    p.set_fill_color(get_style().get("scroll_button_back_color").color);
    p.fill_rect(b);
    p.set_stroke_style(stroke_code_solid);
    p.set_pen(get_style().get("scroll_button_line_color").color, 1.0f);
    if (vertical())
        p.draw_line({b.x, b.y}, {b.x + b.width, b.y});
    else
        p.draw_line({b.x, b.y}, {b.x, b.y + b.height});
    const image_data arrow = get_style().get("scroll_button_arrow_image").as_image();
    if (!arrow.bytes || arrow.size == 0) return;
    // Loaded on first use; a picture that does not decode draws no arrow.
    if (!arrow_loaded_) {
        arrow_loaded_ = true;
        arrow_image_->load(arrow);
    }
    if (vertical())
        p.draw_image_part({b.x - arrow_half + b.width / 2, b.y - arrow_half / 2 + b.height / 2}, *arrow_image_,
                          {0, first ? 0 : arrow_half, arrow_side, arrow_half});
    else
        p.draw_image_part({b.x - arrow_half / 2 + b.width / 2, b.y - arrow_half + b.height / 2}, *arrow_image_,
                          {first ? 0 : arrow_half, 0, arrow_half, arrow_side});
}

}  // namespace qssdk::ui
