#include "tooltip.h"

#include <functional>

#include "event_binding.h"
#include "event_manager.h"
#include "painter.h"
#include "render_context.h"
#include "style.h"
#include "text_codes.h"
#include "widget.h"

namespace qssdk::ui {

namespace {

// The style keys of one of the tooltip's two lines.
struct line_keys {
    const char* font_name;
    const char* font_size;
    const char* font_weight;
    const char* font_style;
    const char* font_color;
};

constexpr line_keys title_keys{"tooltip_title_font_name", "tooltip_title_font_size", "tooltip_title_font_weight",
                               "tooltip_title_font_style", "tooltip_title_font_color"};
constexpr line_keys text_keys{"tooltip_font_name", "tooltip_font_size", "tooltip_font_weight", "tooltip_font_style",
                              "tooltip_font_color"};

void set_line_font(painter& p, const style& s, const line_keys& keys) {
    p.set_font(s.get(keys.font_name).as_text(), s.get_float(keys.font_size), s.get(keys.font_weight).as_uint(),
               s.get(keys.font_style).as_uint(), false);
}

size measure_line(painter& p, const style& s, const line_keys& keys, const std::string& line) {
    if (line.empty()) return {};
    set_line_font(p, s, keys);
    return p.context().measure_text(line, {0, 0}, {});
}

}  // namespace

tooltip::tooltip() {
    bind_handler(&get_root_widget(), event_id::paint, std::bind(&tooltip::paint, this), this);
}

void tooltip::show(point position, const std::string& title, const std::string& text, const widget& style_source) {
    title_ = title;
    text_ = text;
    style_source_ = &style_source;
    painter& p = *get_painter();
    const style& s = style_source.get_style();
    const size title_size = measure_line(p, s, title_keys, title_);
    const size text_size = measure_line(p, s, text_keys, text_);
    layout_ = layout_tooltip(position, !title_.empty(), title_size, !text_.empty(), text_size);
    set_rect(layout_.window);
    set_shown_flag(true);
    ShowWindow(native_handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(native_handle());
}

void tooltip::hide() {
    if (shown_flag()) {
        set_shown_flag(false);
        event_manager::instance().fire(this, event_id::hidden, 2, 1, 0);
    }
    ShowWindow(native_handle(), SW_HIDE);
    style_source_ = nullptr;
}

void tooltip::paint() {
    if (!style_source_) return;
    painter& p = *get_painter();
    const style& s = style_source_->get_style();
    const rect& client = get_root_widget().get_rect();
    p.set_fill_color(s.get("tooltip_back_color").color);
    p.fill_rect({0, 0, client.width, client.height});
    p.set_pen(s.get("tooltip_border_color").color, 1.0f);
    p.draw_rect({0, 0, client.width, client.height});
    p.set_pen(s.get("tooltip_border_color_1").color, 1.0f);
    p.draw_rect({1, 1, client.width - 2, client.height - 2});

    p.set_text_alignment(align_code_leading, valign_code_top);
    const struct {
        const std::string& line;
        const line_keys& keys;
        rect box;
    } lines[] = {{title_, title_keys, layout_.title_box(client.width)},
                 {text_, text_keys, layout_.text_box(client.width)}};
    for (const auto& l : lines) {
        if (l.line.empty()) continue;
        p.set_text_color(s.get(l.keys.font_color).color);
        set_line_font(p, s, l.keys);
        p.context().draw_text(l.box, l.line, {});
    }
}

}  // namespace qssdk::ui
