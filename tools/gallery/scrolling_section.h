// The gallery's section of the scroll bar, the flow panels and the text labels: a panel scrolled both ways, a
// vertical and a horizontal flow panel, and a plain and an HTML label with a link. The tests drive the
// same section in a window of its own.
#pragma once

#include <string>
#include <vector>

#include "flow_panel.h"
#include "gallery_page.h"
#include "scroll_bar.h"
#include "text_label.h"

namespace gallery {

class scrolling_section : public section {
public:
    static constexpr int32_t width = 330;
    static constexpr int32_t height = 360;
    // The scrolled panel's viewport and content, in the section's coordinates.
    static constexpr qssdk::ui::rect viewport_rect{margin, title_height + margin + 18, 160, 150};
    static constexpr int32_t content_width = 320;
    static constexpr int32_t content_height = 420;
    static constexpr int32_t content_row = 30;
    static constexpr const char* link_address = "https://example.com/licence";

    scrolling_section();
    ~scrolling_section() override;

    // Creates the section at r in parent, then its widgets; their layouts run as they are created.
    void place(qssdk::ui::widget* parent, const qssdk::ui::rect& r);

    // The vertical bar, and the horizontal one below the viewport that scrolls the same content sideways.
    qssdk::ui::scroll_bar& bar() { return bar_; }
    qssdk::ui::scroll_bar& across() { return across_; }
    qssdk::ui::widget& content() { return content_; }
    qssdk::ui::text_label& html_label() { return html_; }

private:
    void paint_content();
    void paint_box(const qssdk::ui::widget& box, const qssdk::ui::color& fill);
    void add_boxes(qssdk::ui::flow_panel& panel, const std::vector<qssdk::ui::rect>& sizes);

    qssdk::ui::widget viewport_;
    qssdk::ui::widget content_;
    qssdk::ui::scroll_bar bar_;
    qssdk::ui::scroll_bar across_;
    qssdk::ui::flow_panel column_;
    qssdk::ui::flow_panel row_;
    std::vector<std::unique_ptr<qssdk::ui::widget>> boxes_;
    qssdk::ui::text_label plain_;
    qssdk::ui::text_label html_;
};

}  // namespace gallery
