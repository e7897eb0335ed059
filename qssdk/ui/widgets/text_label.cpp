// The text label widget over the window-free HTML subset and link areas.
#include "text_label.h"

#include "cursor_table.h"
#include "event_binding.h"
#include "html_subset.h"
#include "input_codes.h"
#include "painter.h"
#include "set_cursor.h"
#include "shell_open.h"
#include "text_codes.h"
#include "text_run_positions.h"

namespace qssdk::ui {

namespace {

constexpr float disabled_text_alpha = 0.5f;

}  // namespace

text_label::text_label() : open_link_(qssdk::shell_open) {
    bind_handler(this, event_id::paint, std::bind(&text_label::paint, this), this);
    bind_handler(this, event_id::style_changed, std::bind(&text_label::on_style_changed, this), this);
    bind_handler(this, event_id::mouse_move, std::bind(&text_label::on_mouse_move, this), this);
    bind_member_handler(this, event_id::mouse_up, &text_label::on_mouse_up, this);
    // The hand set over a link would otherwise stay on when the mouse leaves across a link's edge.
    bind_handler(this, event_id::mouse_leave, std::bind(&text_label::on_mouse_leave, this), this);
}

void text_label::set_text(std::string_view text, bool auto_width, bool auto_height) {
    auto_width_ = auto_width;
    auto_height_ = auto_height;
    text_.assign(text);
    // Runs and link areas of an earlier HTML text would style and link the new text.
    runs_.clear();
    link_areas_.clear();
    fit_to_text();
    redraw(false);
}

void text_label::set_html(std::string_view html) {
    const style& s = get_style();
    html_text parsed = parse_html_subset(html, s.get("label_font_name").as_text(), s.get_float("label_font_size"));
    text_ = std::move(parsed.text);
    runs_ = std::move(parsed.runs);
}

painter* text_label::window_painter() const { return get_window() ? get_window()->get_painter() : nullptr; }

std::vector<text_run> text_label::layout_runs() const { return runs_in_utf16_positions(text_, runs_); }

void text_label::apply_font(painter& p) const {
    const style& s = get_style();
    p.set_font(s.get("label_font_name").as_text(), s.get_float("label_font_size"), s.get("label_font_weight").as_uint(),
               s.get("label_font_style").as_uint(), s.get("label_text_underlined").as_flag());
    p.set_text_alignment(s.get("label_text_align").as_uint(), s.get("label_text_valign").as_uint());
}

void text_label::fit_to_text() {
    if (!auto_width_ && !auto_height_) return;
    painter* p = window_painter();
    if (!p) return;
    const rect& r = get_rect();
    apply_font(*p);
    const qssdk::ui::size measured =
        text_.empty() ? qssdk::ui::size{}
                      : p->context().measure_text(text_, {auto_width_ ? 0 : r.width, auto_height_ ? 0 : r.height},
                                                  layout_runs());
    set_rect({r.x, r.y, auto_width_ ? measured.width : r.width, auto_height_ ? measured.height : r.height}, true);
}

void text_label::update_link_areas() {
    link_areas_.clear();
    painter* p = window_painter();
    if (!p) return;
    apply_font(*p);
    const std::vector<text_run> runs = layout_runs();
    const qssdk::ui::size box{get_rect().width, get_rect().height};
    link_areas_ = make_link_areas(text_, runs, [&](uint32_t start, uint32_t end) {
        return p->context().get_text_range_rect(text_, box, runs, start, end);
    });
}

void text_label::paint() {
    painter& p = *window_painter();
    const style& s = get_style();
    const rect whole{0, 0, get_rect().width, get_rect().height};
    p.set_fill_color(s.get("default_back_color").color);
    p.fill_rect(whole);
    p.set_stroke_style(stroke_code_solid);
    p.set_pen(s.get("default_border_color").color, 1.0f);
    p.draw_rect(whole);
    color ink = s.get("label_font_color").color;
    if (!is_enabled() || !is_parent_enabled()) ink.a = disabled_text_alpha;
    p.set_text_color(ink);
    p.set_text_alignment(s.get("label_text_align").as_uint(), s.get("label_text_valign").as_uint());
    if (text_.empty()) return;
    if (html_mode_) {
        // The runs cover the whole text with their own fonts.
        p.context().draw_text(whole, text_, layout_runs());
    } else {
        apply_font(p);
        p.context().draw_text(whole, text_, {});
    }
}

void text_label::on_style_changed() {
    fit_to_text();
    redraw(false);
}

const link_area* text_label::link_under_cursor() const {
    if (!html_mode_ || !get_window()) return nullptr;
    const point at = get_window()->get_cursor_position(this);
    return link_at(link_areas_, at.x, at.y);
}

void text_label::on_mouse_move() {
    if (!html_mode_) return;
    set_cursor(link_under_cursor() ? cursor_index::hand : cursor_index::arrow);
}

void text_label::on_mouse_leave() {
    if (html_mode_) set_cursor(cursor_index::arrow);
}

void text_label::on_mouse_up(const event_info& e) {
    // Only a left click follows a link: a right or middle click is no request to open it.
    if (e.value != static_cast<uint64_t>(mouse_button::left)) return;
    if (const link_area* link = link_under_cursor()) open_link_(link->href);
}

}  // namespace qssdk::ui
