// The gallery's section of panels, buttons and check boxes.
#include <bit>
#include <memory>
#include <string>

#include "check_box.h"
#include "event_manager.h"
#include "gallery_controls.h"
#include "gallery_page.h"
#include "generic_button.h"
#include "generic_panel.h"
#include "input_codes.h"
#include "text_codes.h"

namespace gallery {

using namespace qssdk::ui;

namespace {

constexpr color dark_panel{0.114f, 0.118f, 0.133f, 1.0f};
constexpr color light_border{0.55f, 0.57f, 0.60f, 1.0f};
constexpr color teal{0.10f, 0.45f, 0.50f, 1.0f};
constexpr color amber{0.95f, 0.70f, 0.10f, 1.0f};
constexpr uint64_t left_button = static_cast<uint64_t>(mouse_button::left);

void send(widget& w, event_id id, uint64_t value = 0) { event_manager::instance().fire(&w, id, 2, 1, value); }

}  // namespace

void add_control_states(widget& parent, point at, std::vector<std::unique_ptr<widget>>& owner) {
    const auto place = [&](auto widget_ptr, widget& under, const rect& r) -> auto& {
        auto& placed = *widget_ptr;
        placed.create(&under, r);
        owner.push_back(std::move(widget_ptr));
        return placed;
    };

    // Everything stands on a dark panel, the colours the kit's default style is made for.
    auto& ground = place(std::make_unique<generic_panel>(), parent,
                         {at.x, at.y, control_states_size.width, control_states_size.height});
    ground.set_background_color(dark_panel);

    // Panels: the default (magenta, no visible border), a thin light border, a thick border around a child.
    place(std::make_unique<generic_panel>(), ground, {8, 8, 90, 40});
    auto& bordered = place(std::make_unique<generic_panel>(), ground, {106, 8, 90, 40});
    bordered.set_background_color(teal);
    bordered.get_style().set_color("default_border_color", light_border);
    auto& thick = place(std::make_unique<generic_panel>(), ground, {204, 8, 110, 40});
    thick.set_background_color(dark_panel);
    thick.get_style().set_color("default_border_color", amber);
    thick.get_style().set_scalar("default_border_width", std::bit_cast<uint32_t>(3.0f));
    auto& inner = place(std::make_unique<generic_panel>(), thick, {30, 10, 50, 20});
    inner.set_background_color(teal);

    // Buttons in each state, then image strips (the eight-frame lock strip): plain, hovered, toggled,
    // and one stretched over the button.
    const char* names[] = {"Normal", "Hover", "Pressed", "Toggled", "Focused", "Disabled"};
    generic_button* buttons[6] = {};
    for (int i = 0; i < 6; ++i) {
        buttons[i] = &place(std::make_unique<generic_button>(), ground, {8 + i * 108, 60, 100, 28});
        buttons[i]->set_text(names[i]);
    }
    send(*buttons[1], event_id::mouse_enter);
    send(*buttons[2], event_id::mouse_enter);
    send(*buttons[2], event_id::mouse_down, left_button);
    buttons[3]->set_toggle_mode(true);
    send(*buttons[3], event_id::key_down, key_enter);
    parent.get_window()->set_focus_widget(buttons[4], 0);
    buttons[5]->set_enabled(false);

    const char* strip_names[] = {"strip", "strip hover", "strip toggled", "stretched"};
    for (int i = 0; i < 4; ++i) {
        auto& b = place(std::make_unique<generic_button>(), ground, {660 + i * 84, 60, 76, 28});
        b.get_style().set_alias("button_back_image", "multicontrol_lock_image");
        b.get_style().set_scalar("button_font_alignment", align_code_leading);
        b.set_text(strip_names[i]);
        if (i == 1) send(b, event_id::mouse_enter);
        if (i == 2) {
            b.set_toggle_mode(true);
            send(b, event_id::key_down, key_enter);
        }
        if (i == 3) b.get_style().set_scalar("button_back_image_strech", 1);
    }

    // Check boxes at the eight placement codes, every other one checked, then a disabled checked one and
    // a hovered one.
    for (int32_t code = 0; code < 8; ++code) {
        auto& box = place(std::make_unique<check_box>(), ground, {8 + (code % 4) * 248, 104 + (code / 4) * 34, 240, 26});
        box.set_enabled(true);
        box.set_text("placement " + std::to_string(code));
        box.update_layout(code, 5);
        if (code % 2 == 0) send(box, event_id::mouse_up, left_button);
        box.get_style().set_color("checkbox_back_color", {0.16f, 0.17f, 0.19f, 1.0f});
    }
    auto& disabled = place(std::make_unique<check_box>(), ground, {8, 176, 240, 26});
    disabled.set_enabled(true);
    send(disabled, event_id::mouse_up, left_button);
    disabled.set_text("checked, disabled");
    disabled.update_layout(static_cast<int32_t>(check_placement::box_then_text), 5);
    disabled.set_enabled(false);
    auto& hovered = place(std::make_unique<check_box>(), ground, {256, 176, 240, 26});
    hovered.set_enabled(true);
    hovered.set_text("hovered");
    hovered.update_layout(static_cast<int32_t>(check_placement::box_then_text), 5);
    send(hovered, event_id::mouse_enter);
}

void gallery_page::add_controls() {
    // The widgets cover the section's content area.
    section& s = add_section("Panels, buttons and check boxes", {10, 800, 1020, 250}, [](painter&, const rect&) {});
    add_control_states(s, {section::margin, section::title_height + section::margin}, widgets_);
}

}  // namespace gallery
