// The gallery's scrolled panel, flow panels and labels.
#include "scrolling_section.h"

#include <string>

#include "event_manager.h"
#include "render_context.h"

namespace gallery {

using namespace qssdk::ui;

namespace {

constexpr color stripe_even{0.80f, 0.87f, 0.96f, 1.0f};
constexpr color stripe_odd{0.93f, 0.95f, 0.98f, 1.0f};
constexpr color frame{0.55f, 0.58f, 0.62f, 1.0f};
constexpr color label_back{0.90f, 0.93f, 0.90f, 1.0f};
constexpr color box_fills[] = {{0.85f, 0.20f, 0.15f, 1.0f}, {0.20f, 0.65f, 0.30f, 1.0f}, {0.15f, 0.40f, 0.85f, 1.0f}};

constexpr int32_t caption_height = 16;
constexpr int32_t top = section::title_height + section::margin;
constexpr int32_t body_top = top + caption_height + 2;
constexpr int32_t flow_left = 200;
// The labels stand below the scrolled panel and its horizontal bar.
constexpr int32_t labels_top = scrolling_section::viewport_rect.y + scrolling_section::viewport_rect.height + 16 + 12;

std::string html_text() {
    return std::string("<b>Bold</b>, <i>italic</i>, <u>underlined</u> and <font color=\"#1b6936\" size=\"4\">"
                       "green</font> text.<br>Read the <a href=\"") +
           scrolling_section::link_address + "\">licence</a> before you go on."
                                             "<ul><li>a bullet</li><li>another</li></ul>";
}

}  // namespace

scrolling_section::scrolling_section()
    : section("Scroll bar, flow panels and labels",
              [](painter& p, const rect&) {
                  label(p, {margin, top, 180, caption_height}, "scrolled panel (wheel, drag, click)");
                  label(p, {flow_left, top, 120, caption_height}, "flow panels");
                  label(p, {margin, labels_top, 300, caption_height}, "plain and HTML labels");
              }),
      column_(flow_direction::vertical, true),
      row_(flow_direction::horizontal, true) {}

scrolling_section::~scrolling_section() {
    // The boxes go before the panels they stand in.
    boxes_.clear();
}

void scrolling_section::place(widget* parent, const rect& r) {
    create(parent, r);
    event_manager& events = event_manager::instance();

    viewport_.create(this, viewport_rect);
    content_.create(&viewport_, {0, 0, content_width, content_height});
    events.connect(&content_, this, event_id::paint, [this](const event_info&) { paint_content(); });
    const rect below{viewport_rect.x, viewport_rect.y + viewport_rect.height, viewport_rect.width, 16};
    const rect beside{viewport_rect.x + viewport_rect.width, viewport_rect.y, 16, viewport_rect.height};
    for (scroll_bar* b : {&bar_, &across_}) {
        const bool vertical = b == &bar_;
        b->set_orientation(vertical ? scroll_orientation::vertical : scroll_orientation::horizontal);
        b->set_show_buttons(true);
        b->set_content(&content_);
        b->create(this, vertical ? beside : below);
        for (const event_id id : {event_id::resized, event_id::moved})
            events.connect(&content_, b, id, [b](const event_info&) { b->update_thumb(); });
        events.connect(&viewport_, b, event_id::resized, [b](const event_info&) { b->fit_content(); });
    }
    // The wheel scrolls up and down.
    events.connect(&content_, &bar_, event_id::mouse_wheel, [this](const event_info& e) { bar_.on_wheel(e); });

    // A column stretched across 120 pixels, and a row that takes its content's width.
    column_.set_fill_cross(true);
    column_.create(this, {flow_left, body_top, 120, 0});
    add_boxes(column_, {{0, 0, 60, 20}, {0, 0, 80, 30}, {0, 0, 40, 10}});
    row_.create(this, {flow_left, body_top + 80, 0, 40});
    add_boxes(row_, {{0, 0, 30, 40}, {0, 10, 50, 25}, {0, 20, 20, 15}});

    for (text_label* l : {&plain_, &html_}) {
        l->get_style().set_color("default_back_color", label_back);
        l->get_style().set_color("default_border_color", frame);
        l->get_style().set_color("label_font_color", ink);
    }
    plain_.create(this, {margin, labels_top + caption_height + 2, 10, 10});
    plain_.set_text("A plain label, fitted to its text", true, true);
    html_.create(this, {margin, labels_top + caption_height + 32, width - 2 * margin, 10});
    html_.set_html_mode(true);
    html_.set_auto_size(false, true);
    html_.set_html(html_text());
    html_.fit_to_text();
    html_.update_link_areas();
    html_.redraw(false);
}

void scrolling_section::add_boxes(flow_panel& panel, const std::vector<rect>& sizes) {
    for (size_t i = 0; i < sizes.size(); ++i) {
        auto box = std::make_unique<widget>();
        box->create(&panel, sizes[i]);
        const widget* placed = box.get();
        const color fill = box_fills[i % std::size(box_fills)];
        event_manager::instance().connect(box.get(), this, event_id::paint,
                                          [this, placed, fill](const event_info&) { paint_box(*placed, fill); });
        boxes_.push_back(std::move(box));
    }
    panel.layout();
}

void scrolling_section::paint_box(const widget& box, const color& fill) {
    painter& p = *get_window()->get_painter();
    const rect whole{0, 0, box.get_rect().width, box.get_rect().height};
    p.set_fill_color(fill);
    p.fill_rect(whole);
    p.set_pen(ink, 1.0f);
    p.draw_rect(whole);
}

void scrolling_section::paint_content() {
    // Numbered stripes, so that how far the content moved shows.
    painter& p = *get_window()->get_painter();
    for (int32_t row = 0; row * content_row < content_height; ++row) {
        const rect stripe{0, row * content_row, content_width, content_row};
        p.set_fill_color(row % 2 ? stripe_odd : stripe_even);
        p.fill_rect(stripe);
        const std::string name = "row " + std::to_string(row + 1);
        label(p, {6, stripe.y + 8, 120, content_row - 8}, name);
        label(p, {content_width / 2 + 6, stripe.y + 8, content_width / 2 - 12, content_row - 8}, "the rest of " + name);
    }
}

}  // namespace gallery
