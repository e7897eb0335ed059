#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "style.h"
#include "style_table.h"
#include "ui_style_test_support.h"

namespace {

using namespace qssdk::ui;
using namespace ui_test;

// Every key of the default table, in list order (first occurrences).
constexpr std::string_view key_list[] = {
    "default_back_color", "default_border_color", "default_border_width", "checkbox_back_color",
    "checkbox_border_color_normal", "checkbox_border_color_hover", "checkbox_border_color_focus",
    "checkbox_border_width", "checkbox_font_name", "checkbox_font_style", "checkbox_font_weight",
    "checkbox_font_color", "checkbox_font_size", "checkbox_text_gap", "checkbox_image", "message_popup_back_color",
    "message_popup_font_name", "message_popup_font_style", "message_popup_font_weight", "message_popup_font_color",
    "message_popup_font_size", "message_popup_text_align", "message_popup_button_align", "message_popup_image",
    "message_popup_window_margins", "message_popup_component_margins", "colorcontrol_gradient_1",
    "colorcontrol_gradient_2", "colorcontrol_border_color_normal", "colorcontrol_border_color_hover",
    "colorcontrol_border_color_focus", "colorcontrol_back_color_disabled", "dropdown_text_part_color",
    "dropdown_text_part_color_hover", "dropdown_gradient_text", "dropdown_gradient_text_1",
    "dropdown_gradient_text_2", "dropdown_button_part_color", "dropdown_button_part_color_hover",
    "dropdown_gradient_button", "dropdown_gradient_button_1", "dropdown_gradient_button_2", "dropdown_button_image",
    "dropdown_border_color_normal", "dropdown_border_color_hover", "dropdown_border_color_focus",
    "dropdown_font_name", "dropdown_font_style", "dropdown_font_weight", "dropdown_font_color",
    "dropdown_font_color_extra", "dropdown_font_size", "dropdown_font_size_extra", "dropdown_text_align",
    "button_color_normal", "button_color_hover", "button_color_toggle", "button_color_pressed",
    "button_border_color_normal", "button_border_color_hover", "button_border_color_focus", "button_font_name",
    "button_font_style", "button_font_weight", "button_font_color", "button_font_color_hover",
    "button_font_color_pressed", "button_font_size", "button_font_alignment", "button_font_vertical_alignment",
    "button_text_underlined", "button_back_image", "button_back_image_strech", "menubar_back_color_selected",
    "menubar_back_color_highlight", "menubar_font_name", "menubar_font_style", "menubar_font_weight",
    "menubar_font_color", "menubar_font_color_selected", "menubar_font_color_highlight", "menubar_font_size",
    "splitpanel_back_color", "splitpanel_border_color_1", "splitpanel_border_color_2", "splitpanel_mark_color",
    "splitpanel_split_thickness", "tooltip_back_color", "tooltip_border_color", "tooltip_border_color_1",
    "tooltip_font_name", "tooltip_font_style", "tooltip_font_weight", "tooltip_font_color", "tooltip_font_size",
    "tooltip_title_font_name", "tooltip_title_font_style", "tooltip_title_font_weight", "tooltip_title_font_color",
    "tooltip_title_font_size", "multicolumn_header_color", "multicolumn_header_divider_color",
    "multicolumn_header_font_name", "multicolumn_header_font_style", "multicolumn_header_font_weight",
    "multicolumn_header_font_color", "multicolumn_header_font_size", "multicolumn_font_name",
    "multicolumn_font_style", "multicolumn_font_weight", "multicolumn_font_size", "multicolumn_font_color",
    "multicolumn_font_color_selected", "multicolumn_font_color_disabled", "multicolumn_back_color_selected",
    "multicolumn_font_color_highlighted", "multicolumn_divider_color", "multicolumn_line_color",
    "tabcontainer_line_color", "tabbutton_gradient_1", "tabbutton_gradient_2", "tabbutton_gradient_1_selected",
    "tabbutton_gradient_2_selected", "tabbutton_gradient_1_hover", "tabbutton_font_name", "tabbutton_font_style",
    "tabbutton_font_weight", "tabbutton_font_size", "tabbutton_font_color", "tabbutton_font_color_selected",
    "float_font_name", "float_font_style", "float_font_weight", "float_font_size", "float_font_color",
    "float_font_color_disabled", "float_input_back_color", "float_input_font_color",
    "float_input_font_default_text_color", "float_precision", "multicontrol_font_name", "multicontrol_font_size",
    "multicontrol_font_weight", "multicontrol_font_style", "multicontrol_font_color", "multicontrol_lock_image",
    "input_border_color", "input_selection_color", "input_ime_cursor_color", "input_ime_block_color",
    "input_font_name", "input_font_style", "input_font_weight", "input_font_size", "input_font_color",
    "input_font_color_selected", "input_inside_margins", "input_font_default_text_color", "scroll_button_back_color",
    "scroll_button_line_color", "scroll_button_arrow_image", "scroll_bar_back_color", "scroll_bar_line_color",
    "scroll_back_color", "scroll_min_size", "label_font_name", "label_font_style", "label_font_weight",
    "label_font_size", "label_font_color", "label_text_align", "label_text_valign", "label_text_underlined",
    "browser_back_color", "browser_back_color_hover", "browser_back_color_selected", "browser_font_color",
    "browser_font_color_hover", "browser_font_color_selected", "browser_font_name", "browser_font_style",
    "browser_font_weight", "browser_font_weight_selected", "browser_font_size", "browser_scroll_width",
    "browser_expand_image", "browser_folder_image", "browser_pack_image", "browser_stared_image",
    "browser_alien_image", "browser_virtual_image", "editparam_height", "editparam_margins", "editparam_flex_param",
    "editparam_param_offset", "editparam_back_color", "editparam_back_color_hover", "editparam_font_color",
    "editparam_font_color_disabled", "editparam_font_name", "editparam_font_style", "editparam_font_weight",
    "editparam_font_size", "editparam_title_height", "editparam_title_back_color", "editparam_title_font_weight",
    "editparam_title_font_color", "editparam_icon_image", "editparam_combo_size", "editparam_float_size",
    "editparam_keyframe_color", "editparam_keyframe_color_active", "editparam_keyframe_color_inactive",
    "editparam_keyframe_size", "multiwindow_back_color", "multiwindow_border_width", "multiwindow_border_color",
    "multiwindow_title_back_color", "multiwindow_tab_color", "multiwindow_tab_color_selected",
    "multiwindow_tab_gradient", "multiwindow_tab_gradient_1", "multiwindow_tab_gradient_2",
    "multiwindow_tab_gradient_1_selected", "multiwindow_tab_gradient_2_selected", "multiwindow_tab_line_color",
    "multiwindow_tab_line_color_selected", "multiwindow_tab_split_line_color", "multiwindow_tab_font_name",
    "multiwindow_tab_font_style", "multiwindow_tab_font_weight", "multiwindow_tab_font_size",
    "multiwindow_tab_font_color", "multiwindow_tab_height", "multiwindow_button_color",
    "multiwindow_button_color_hover", "multiwindow_button_image", "multiwindow_button_border_color_hover",
    "node_back_color", "node_expand_button_image", "node_border_color_normal", "node_border_color_hover",
    "node_border_color_selected", "node_border_color_focus", "node_port_back_color_normal",
    "node_port_back_color_hover", "node_port_border_color_normal", "node_port_border_color_hover",
    "node_port_output_image", "node_port_input_image", "node_link_color_normal", "node_link_color_ghost",
    "node_link_color_hover", "node_link_color_selected", "node_link_color_selected_hover", "node_link_glow",
    "node_link_thickness", "node_canvas_grid_color", "node_canvas_selection_back_color",
    "node_canvas_selection_border_color", "params_node_panel_size", "params_node_panel_port_output_size",
    "params_node_panel_port_input_size", "params_node_panel_font_color", "params_node_panel_font_name",
    "params_node_panel_font_size", "params_node_panel_font_weight", "params_node_panel_font_style",
    "timeline_back_color", "timeline_margins", "timeline_mark_height", "timeline_mark_color",
    "timeline_indicator_width", "timeline_indicator_color_normal", "timeline_indicator_color_hover",
    "timeline_indicator_image", "timeline_font_name", "timeline_font_style", "timeline_font_weight",
    "timeline_font_size", "timeline_font_color", "timeline_key_mark_size", "timeline_key_mark_color_normal",
    "timeline_key_mark_color_hover", "timeline_key_mark_image", "timeline_loop_mark_image",
    "timeline_loop_mark_color", "timeline_loop_back_color", "curve_editor_mark_color_normal",
    "curve_editor_mark_color_hover", "curve_editor_mark_image", "curve_editor_mark_control_image",
    "curve_editor_mark_control_color", "curve_editor_curve_thickness", "curve_editor_grid_color",
};

enum class kind { color, flag, code, real, pair, text, image };

// The kinds follow the keys' conventions: colours and gradients, font names as text, underline and
// on/off switches as flags, font sizes, widths and thicknesses as floats, margins and sizes as pairs,
// images as image records, and int32 codes for the rest (styles, weights, alignments, gaps, heights).
kind kind_of(std::string_view key) {
    const auto has = [&](std::string_view part) { return key.find(part) != std::string_view::npos; };
    if (key.ends_with("_image")) return kind::image;
    if (has("color") || has("gradient")) return kind::color;
    if (key.ends_with("_font_name")) return kind::text;
    if (key.ends_with("_underlined") || key.ends_with("_strech") || key == "node_link_glow") return kind::flag;
    if (key == "scroll_min_size") return kind::code;  // an int32 minimum length
    if (has("_font_size") || key.ends_with("_width") || key.ends_with("_thickness")) return kind::real;
    if (key.ends_with("_margins") || key.ends_with("_size")) return kind::pair;
    return kind::code;
}

const style_value& default_of(std::string_view key) {
    const style_table& table = default_style_table();
    const auto found = table.find(key);
    if (found == table.end()) throw std::runtime_error("missing default " + std::string(key));
    return found->second;
}

TEST(UiDefaultStyle, HoldsEveryKeyOnceInListOrderFromItsEntries) {
    const std::span<const style_entry> entries = default_style_entries();
    EXPECT_EQ(entries.size(), 297u);
    EXPECT_EQ(default_style_table().size(), 295u);

    std::vector<std::string_view> first_occurrences;
    std::map<std::string_view, std::vector<const style_value*>> by_key;
    for (const style_entry& e : entries) {
        if (by_key[e.key].empty()) first_occurrences.push_back(e.key);
        by_key[e.key].push_back(&e.value);
    }
    EXPECT_TRUE(std::ranges::equal(first_occurrences, key_list));

    for (const auto& [key, values] : by_key) {
        const bool doubled = key == "params_node_panel_port_output_size" || key == "params_node_panel_port_input_size";
        EXPECT_EQ(values.size(), doubled ? 2u : 1u) << key;
        for (const style_value* v : values) EXPECT_EQ(*v, *values.front()) << key;
        EXPECT_EQ(default_of(key), *values.front()) << key;
    }
}

TEST(UiDefaultStyle, EveryValueHasTheKindOfItsKey) {
    for (const std::string_view key : key_list) {
        const style_value& v = default_of(key);
        SCOPED_TRACE(std::string(key));
        const kind k = kind_of(key);
        if (k != kind::color) {
            EXPECT_EQ(v.color, color(0.0f));
        }
        switch (k) {
        case kind::color: {
            EXPECT_TRUE(v.bytes.empty());
            for (const float channel : {v.color.r, v.color.g, v.color.b}) {
                EXPECT_GE(channel, 0.0f);
                EXPECT_LE(channel, 1.0f);
            }
            const bool transparent = key == "default_border_color" || key == "checkbox_back_color" ||
                                     key == "button_border_color_normal";
            EXPECT_EQ(v.color.a, transparent ? 0.0f : 1.0f);
            break;
        }
        case kind::flag:
            ASSERT_EQ(v.bytes.size(), 1u);
            EXPECT_LE(static_cast<unsigned char>(v.bytes[0]), 1u);
            break;
        case kind::code:
            ASSERT_EQ(v.bytes.size(), 4u);
            EXPECT_GE(v.as_int(), 0);
            EXPECT_LE(v.as_int(), 1000);
            break;
        case kind::real:
            ASSERT_EQ(v.bytes.size(), 4u);
            EXPECT_GE(v.as_float(), 0.5f);  // the bits of a small int32 would read as a tiny float
            EXPECT_LE(v.as_float(), 100.0f);
            break;
        case kind::pair:
            EXPECT_EQ(v.bytes.size(), 8u);
            break;
        case kind::text: {
            const bool verdana = key == "multicolumn_header_font_name" || key == "multicolumn_font_name" ||
                                 key == "multiwindow_tab_font_name";
            if (key == "params_node_panel_font_name")
                EXPECT_EQ(v.bytes, std::string("tahoma", 7));
            else
                EXPECT_EQ(v.bytes, verdana ? "Verdana" : "Tahoma");
            break;
        }
        case kind::image:
            EXPECT_EQ(v.bytes.size(), 24u);
            break;
        }
    }
}

TEST(UiDefaultStyle, GivesTheStatedValues) {
    const color white = rgb(1.0f, 1.0f, 1.0f);
    const color clear(0.0f);
    const struct {
        std::string_view key;
        style_value value;
    } stated[] = {
        {"default_back_color", colour({1.0f, 0.0f, 1.0f, 1.0f})},
        {"default_border_color", colour(clear)},
        {"default_border_width", real(1.0f)},
        {"checkbox_back_color", colour(clear)},
        {"checkbox_border_color_normal", colour(rgb(0.294f, 0.294f, 0.294f))},
        {"checkbox_border_color_hover", colour(white)},
        {"checkbox_border_color_focus", colour(rgb(0.255f, 0.584f, 0.753f))},
        {"checkbox_border_width", real(1.0f)},
        {"checkbox_font_name", text("Tahoma")},
        {"checkbox_font_style", code(0)},
        {"checkbox_font_weight", code(0)},
        {"checkbox_font_color", colour(white)},
        {"checkbox_font_size", real(11.0f)},
        {"checkbox_text_gap", code(5)},
        {"message_popup_back_color", colour(rgb(0.114f, 0.118f, 0.133f))},
        {"message_popup_font_name", text("Tahoma")},
        {"message_popup_font_style", code(0)},
        {"message_popup_font_weight", code(0)},
        {"message_popup_font_color", colour(white)},
        {"message_popup_font_size", real(11.0f)},
        {"message_popup_text_align", code(1)},
        {"message_popup_button_align", code(1)},
        {"message_popup_window_margins", two(20, 20)},
        {"button_color_normal", colour(rgb(0.173f, 0.176f, 0.192f))},
        {"button_color_hover", colour(rgb(0.239f, 0.247f, 0.263f))},
        {"button_color_pressed", colour(rgb(0.239f, 0.247f, 0.263f))},
        {"button_color_toggle", colour(rgb(0.188f, 0.29f, 0.506f))},
        {"button_border_color_normal", colour(clear)},
        {"button_border_color_hover", colour(white)},
        {"button_border_color_focus", colour(rgb(0.6f, 0.6f, 0.6f))},
        {"button_font_name", text("Tahoma")},
        {"button_font_style", code(0)},
        {"button_font_weight", code(2)},
        {"button_font_size", real(11.0f)},
        {"button_font_color", colour(white)},
        {"button_font_color_hover", colour(white)},
        {"button_font_color_pressed", colour(white)},
        {"button_font_alignment", code(1)},
        {"button_font_vertical_alignment", code(0)},
        {"button_text_underlined", flag(0)},
        {"button_back_image_strech", flag(0)},
        {"tooltip_back_color", colour(rgb(0.106f, 0.106f, 0.11f))},
        {"tooltip_border_color", colour(rgb(0.29f, 0.31f, 0.325f))},
        {"tooltip_border_color_1", colour(rgb(0.0f, 0.0f, 0.0f))},
        {"tooltip_font_name", text("Tahoma")},
        {"tooltip_font_color", colour(rgb(0.655f, 0.655f, 0.655f))},
        {"tooltip_font_size", real(11.0f)},
        {"tooltip_title_font_name", text("Tahoma")},
        {"tooltip_title_font_weight", code(2)},
        {"tooltip_title_font_color", colour(white)},
        {"tooltip_title_font_size", real(11.0f)},
        {"scroll_button_back_color", colour(rgb(0.22f, 0.235f, 0.251f))},
        {"scroll_button_line_color", colour(rgb(0.325f, 0.325f, 0.325f))},
        {"scroll_bar_back_color", colour(rgb(0.145f, 0.149f, 0.165f))},
        {"scroll_bar_line_color", colour(rgb(0.314f, 0.314f, 0.314f))},
        {"scroll_back_color", colour(rgb(0.067f, 0.071f, 0.078f))},
        {"scroll_min_size", code(50)},
        {"label_font_name", text("Tahoma")},
        {"label_font_style", code(0)},
        {"label_font_weight", code(0)},
        {"label_font_color", colour(white)},
        {"label_font_size", real(11.0f)},
        {"label_text_align", code(0)},
        {"label_text_valign", code(0)},
        {"label_text_underlined", flag(0)},
        {"params_node_panel_size", two(200, 6)},
        {"params_node_panel_port_output_size", two(20, 20)},
        {"params_node_panel_port_input_size", two(14, 20)},
    };
    for (const auto& s : stated) EXPECT_EQ(default_of(s.key), s.value) << s.key;

    // Read through a store, as widgets do: the first four bytes of the component margins are 10, and
    // a platform call handed the seven-byte font name sees "tahoma".
    const style store;
    EXPECT_EQ(store.get("message_popup_component_margins").as_int(), 10);
    EXPECT_EQ(store.get("params_node_panel_port_output_size").as_pair(), std::make_pair(20, 20));
    EXPECT_STREQ(store.get("params_node_panel_font_name").as_text().c_str(), "tahoma");
    EXPECT_EQ(store.get("no_such_key"), style_value());
}

class UiDefaultStyleImages : public com_test {};

TEST_F(UiDefaultStyleImages, EveryImageDecodesWithItsStatedSizeAndFrames) {
    const struct {
        std::string_view key;
        UINT width, height;
        uint32_t frames;
        float scale;
    } images[] = {
        {"checkbox_image", 14, 28, 2, 1.0f},
        {"message_popup_image", 28, 24, 1, 1.0f},
        {"dropdown_button_image", 8, 5, 1, 1.0f},
        {"multicontrol_lock_image", 18, 144, 8, 1.0f},
        {"scroll_button_arrow_image", 8, 8, 1, 1.0f},
        {"browser_expand_image", 12, 96, 8, 1.0f},
        {"browser_folder_image", 20, 20, 1, 1.0f},
        {"browser_pack_image", 20, 20, 1, 1.0f},
        {"browser_stared_image", 20, 20, 1, 1.0f},
        {"browser_alien_image", 20, 20, 1, 1.0f},
        {"browser_virtual_image", 20, 20, 1, 1.0f},
        {"multiwindow_button_image", 5, 10, 1, 1.0f},
        {"node_expand_button_image", 12, 96, 8, 1.0f},
        {"node_port_output_image", 40, 80, 2, 4.0f},
        {"node_port_input_image", 40, 80, 2, 4.0f},
        {"timeline_indicator_image", 28, 40, 1, 4.0f},
        {"timeline_key_mark_image", 36, 72, 2, 4.0f},
        {"timeline_loop_mark_image", 64, 32, 1, 4.0f},
        {"curve_editor_mark_image", 44, 132, 3, 4.0f},
        {"curve_editor_mark_control_image", 44, 132, 3, 4.0f},
    };
    for (const auto& expected : images) {
        SCOPED_TRACE(std::string(expected.key));
        const image_data image = default_of(expected.key).as_image();
        ASSERT_NE(image.bytes, nullptr);
        ASSERT_GT(image.size, 8u);
        EXPECT_EQ(image.frames, expected.frames);
        EXPECT_EQ(image.scale, expected.scale);
        const decoded_image d = decode_image(image);
        EXPECT_EQ(d.format, GUID_ContainerFormatPng);
        EXPECT_EQ(d.width, expected.width);
        EXPECT_EQ(d.height, expected.height);
        EXPECT_EQ(d.height % image.frames, 0u);
    }

    const auto bytes_of = [](std::string_view key) { return default_of(key).as_image().bytes; };
    EXPECT_EQ(bytes_of("browser_pack_image"), bytes_of("browser_stared_image"));
    EXPECT_EQ(bytes_of("browser_pack_image"), bytes_of("browser_alien_image"));
    EXPECT_NE(bytes_of("browser_pack_image"), bytes_of("browser_folder_image"));
    EXPECT_NE(bytes_of("browser_folder_image"), bytes_of("browser_virtual_image"));

    for (const std::string_view none : {"button_back_image", "editparam_icon_image"}) {
        const image_data image = default_of(none).as_image();
        EXPECT_EQ(image.bytes, nullptr) << none;
        EXPECT_EQ(image.size, 0u) << none;
        EXPECT_EQ(image.frames, 1u) << none;
        EXPECT_EQ(image.scale, 1.0f) << none;
    }
}

}  // namespace
