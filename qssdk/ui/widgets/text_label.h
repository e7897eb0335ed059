// The kit's static text: one text in plain mode, in the font of the label_* style keys, or in HTML mode,
// styled by the runs of the kit's HTML subset, with links that show the hand cursor and open their
// address with the shell on a left click. It can size itself to its text in either direction.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "event_info.h"
#include "link_area.h"
#include "text_run.h"
#include "widget.h"

namespace qssdk::ui {

class painter;

class text_label : public widget {
public:
    // Opens a link's address; the shell's "open" unless replaced.
    using link_opener = std::function<void(std::string_view href)>;

    text_label();

    // Plain text: replaces the text, drops the runs and link areas of an earlier HTML text, fits the
    // size to the text as the flags ask and repaints. Given the text alone, the label switches automatic
    // sizing off and keeps its rect.
    void set_text(std::string_view text, bool auto_width = false, bool auto_height = false);
    // Parses the HTML subset into the text and its runs. The owner sets HTML mode and the auto flags
    // first and calls fit_to_text, update_link_areas and redraw after.
    void set_html(std::string_view html);
    void set_html_mode(bool v) { html_mode_ = v; }
    void set_auto_size(bool auto_width, bool auto_height) {
        auto_width_ = auto_width;
        auto_height_ = auto_height;
    }
    // Width and height from the measured text, as the auto flags ask.
    void fit_to_text();
    // The links' hit areas from the text laid out in the label's size.
    void update_link_areas();
    void set_link_opener(link_opener opener) { open_link_ = std::move(opener); }

    const std::string& text() const { return text_; }
    const std::vector<text_run>& runs() const { return runs_; }
    const std::vector<link_area>& link_areas() const { return link_areas_; }
    bool html_mode() const { return html_mode_; }

private:
    void paint();
    void on_style_changed();
    void on_mouse_move();
    void on_mouse_up(const event_info& e);
    void on_mouse_leave();
    // The link under the cursor, or null; only in HTML mode.
    const link_area* link_under_cursor() const;
    // Font and alignment from the label_* keys.
    void apply_font(painter& p) const;
    // The runs with their bounds in UTF-16 positions, as the render context takes them.
    std::vector<text_run> layout_runs() const;
    painter* window_painter() const;

    std::string text_;
    bool html_mode_ = false;
    std::vector<text_run> runs_;
    std::vector<link_area> link_areas_;
    bool auto_width_ = false;
    bool auto_height_ = false;
    link_opener open_link_;
};

}  // namespace qssdk::ui
