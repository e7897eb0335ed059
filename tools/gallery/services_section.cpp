// The gallery's section on the window's services: a widget with a tooltip, a widget that opens a popup
// menu on a right click and a drop zone that lists the files dropped on it. The gallery rests the cursor
// on the tooltip sample before its picture is taken, so the picture shows the tooltip open.
#include <string>
#include <vector>

#include "dip_conversion.h"
#include "event_manager.h"
#include "file_path.h"
#include "gallery_page.h"
#include "input_codes.h"
#include "popup_menu.h"
#include "render_context.h"
#include "text_codes.h"
#include "tooltip.h"
#include "utf.h"
#include "window_capture.h"

namespace gallery {

using namespace qssdk::ui;

namespace {

constexpr color box_back{0.90f, 0.93f, 0.97f, 1.0f};
constexpr color box_line{0.15f, 0.40f, 0.85f, 1.0f};
constexpr color box_ink{0.10f, 0.11f, 0.13f, 1.0f};

constexpr uint64_t right_button = static_cast<uint64_t>(mouse_button::right);
constexpr DWORD tooltip_bound_ms = 5000;

// Menu item ids of the sample menu.
enum menu_item_id : int32_t { copy_item = 1, export_item, export_png, export_jpeg };

// A framed box that paints its caption, centred.
class sample_box : public widget {
public:
    explicit sample_box(std::string caption) : caption_(std::move(caption)) {
        event_manager::instance().connect(this, this, event_id::paint, [this](const event_info&) { paint(); });
    }
    void set_caption(std::string caption) {
        caption_ = std::move(caption);
        redraw(false);
    }

private:
    void paint() {
        painter& p = *get_window()->get_painter();
        const rect whole{0, 0, get_rect().width, get_rect().height};
        p.set_fill_color(box_back);
        p.fill_rect(whole);
        p.set_pen(box_line, 1.0f);
        p.draw_rect(whole);
        p.set_font("Tahoma", 11.0f, weight_code_normal, style_code_normal, false);
        p.set_text_color(box_ink);
        p.set_text_alignment(align_code_center, valign_code_center);
        p.context().draw_text({6, 4, whole.width - 12, whole.height - 8}, caption_, {});
    }

    std::string caption_;
};

std::string menu_choice_text(int32_t chosen) {
    switch (chosen) {
    case copy_item: return "chosen: Copy";
    case export_png: return "chosen: Export > PNG";
    case export_jpeg: return "chosen: Export > JPEG";
    default: return "the menu was dismissed";
    }
}

std::string dropped_text(const std::vector<qssdk::file_path>& files) {
    std::string text = std::to_string(files.size()) + (files.size() == 1 ? " file dropped:" : " files dropped:");
    for (const qssdk::file_path& f : files) {
        text += '\n';
        text += qssdk::utf16_to_utf8(f.wstring());
    }
    return text;
}

}  // namespace

void gallery_page::add_services() {
    // In the right-hand column, below the scrolling section.
    section& services = add_section("Tooltips, popup menus and drop targets", {1040, 380, 330, 270},
                                    [](painter&, const rect&) {});
    const int32_t top = section::title_height + section::margin, width = 330 - 2 * section::margin;

    auto tip_sample = std::make_unique<sample_box>("Rest the cursor here for a tooltip");
    tip_sample->create(&services, {section::margin, top, width, 60});
    add_tooltip(reinterpret_cast<uintptr_t>(tip_sample.get()), {}, "Tooltip",
                "A title line over a text, in a\ntopmost window that leaves\nthe focus where it was");
    tooltip_sample_ = tip_sample.get();
    widgets_.push_back(std::move(tip_sample));

    auto menu_sample = std::make_unique<sample_box>("Right-click here for a popup menu with a sub-menu");
    menu_sample->create(&services, {section::margin, top + 70, width, 60});
    sample_box* menu_box = menu_sample.get();
    event_manager::instance().connect(menu_box, this, event_id::mouse_down, [this, menu_box](const event_info& e) {
        if (e.value != right_button) return;
        popup_menu menu;
        menu.add_item(copy_item, menu_top_level, "Copy");
        menu.add_item(export_item, menu_top_level, "Export");
        menu.add_item(export_png, export_item, "PNG");
        menu.add_item(export_jpeg, export_item, "JPEG");
        menu_box->set_caption(menu_choice_text(menu.show(*this)));
    });
    widgets_.push_back(std::move(menu_sample));

    auto drop_zone = std::make_unique<sample_box>("Drop files here (folders are left out)");
    drop_zone->create(&services, {section::margin, top + 140, width, 92});
    sample_box* drop_box = drop_zone.get();
    event_manager::instance().connect(drop_box, this, event_id::files_dropped, [drop_box](const event_info& e) {
        drop_box->set_caption(dropped_text(*reinterpret_cast<const std::vector<qssdk::file_path>*>(e.value)));
    });
    widgets_.push_back(std::move(drop_zone));
}

bool gallery_page::open_sample_tooltip() {
    const rect& r = tooltip_sample_->get_rect();
    // Near the left edge, so that the tooltip beside the cursor stays on the page.
    const edges at = tooltip_sample_->get_visible_rect({r.x + 24, r.y + r.height / 2, 1, 1});
    POINT cursor{dips_to_pixels(at.left, dpi_x()), dips_to_pixels(at.top, dpi_y())};
    ClientToScreen(native_handle(), &cursor);
    SetCursorPos(cursor.x, cursor.y);
    // The first move only asks to be told when the mouse leaves; the second finds the widget.
    for (int i = 0; i < 2; ++i) {
        PostMessageW(native_handle(), WM_MOUSEMOVE, 0, 0);
        pump_messages_for(20);
    }
    const ULONGLONG end = GetTickCount64() + tooltip_bound_ms;
    while (!get_tooltip()->is_shown() && GetTickCount64() < end) pump_messages_for(20);
    if (!get_tooltip()->is_shown()) return false;
    repaint_and_settle(get_tooltip()->native_handle());
    // A loaded machine may have taken the 6 s after which the tooltip hides again.
    return get_tooltip()->is_shown();
}

}  // namespace gallery
