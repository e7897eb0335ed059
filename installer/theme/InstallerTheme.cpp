#include "InstallerTheme.h"

#include <cstdint>
#include <span>
#include <string_view>

#include "installer_resources.h"
#include "style_table.h"

namespace installer {

namespace {

using namespace qssdk::ui;
namespace art = installer_resources;

constexpr color rgb(float r, float g, float b) { return {r, g, b, 1.0f}; }
constexpr color grey(float v) { return rgb(v, v, v); }

style_entry image_entry(std::string_view key, std::span<const unsigned char> encoded, std::uint32_t frames) {
    return make_image_entry(key, image_data{encoded.data(), encoded.size(), frames, 1.0f});
}

constexpr std::int32_t weight_normal = 0;
constexpr std::int32_t weight_bold = 2;
constexpr std::int32_t style_italic = 1;
constexpr std::int32_t valign_top = 1;
constexpr std::int32_t align_centre = 1;

}  // namespace

std::vector<style_entry> theme_entries() {
    const color accent = rgb(0.114f, 0.725f, 0.329f);
    const color window = grey(0.071f);
    const color soft_text = grey(0.784f);
    const color dim_text = grey(0.575f);
    return {
        make_code_entry("header_size", 64),
        make_code_entry("footer_size", 50),
        make_pair_entry("banner_size", 450, 500),
        image_entry("banner_image", art::banner_jpg, 1),
        image_entry("background_image", art::background_png, 1),
        image_entry("logo_image", art::logo_png, 1),
        make_color_entry("main_back_color", window),
        make_color_entry("main_back_gradient_color1", grey(0.11f)),
        make_color_entry("main_back_gradient_color2", grey(0.078f)),
        make_color_entry("label_font_color", soft_text),
        make_text_entry("label_font_name", "verdana"),
        make_color_entry("checkbox_font_color", soft_text),
        make_text_entry("checkbox_font_name", "verdana"),
        image_entry("checkbox_image", art::checkbox_png, 2),
        make_float_entry("title_font_size", 29.0f),
        make_text_entry("title_font_name", "tahoma"),
        make_code_entry("title_font_weight", weight_normal),
        make_color_entry("title_font_color", accent),
        make_float_entry("intro_font_size", 13.0f),
        make_text_entry("intro_font_name", "tahoma"),
        make_color_entry("intro_font_color", dim_text),
        make_float_entry("intro_version_font_size", 12.0f),
        make_color_entry("intro_version_font_color", grey(0.394f)),
        make_code_entry("intro_version_font_style", style_italic),
        make_code_entry("label_intro_text_valign", valign_top),
        make_code_entry("label_path_text_valign", valign_top),
        make_float_entry("label_path_font_size", 11.0f),
        make_code_entry("label_adobe_version_weight", weight_bold),
        make_code_entry("label_assets_weight", weight_bold),
        make_code_entry("label_install_weight", weight_bold),
        make_text_entry("license_label_font_name", "Arial"),
        make_float_entry("license_label_font_size", 15.0f),
        make_color_entry("license_label_font_color", grey(0.0f)),
        make_text_entry("header_text_font_name", "tahoma"),
        make_float_entry("header_text_font_size", 11.0f),
        make_color_entry("header_text_font_color", grey(0.325f)),
        make_text_entry("footer_text_font_name", "tahoma"),
        make_float_entry("footer_text_font_size", 11.0f),
        make_color_entry("footer_text_font_color", grey(0.494f)),
        make_color_entry("rounded_button_back_color_normal", grey(0.141f)),
        make_color_entry("rounded_button_back_color_hover", grey(0.216f)),
        make_color_entry("rounded_button_back_color_disabled", grey(0.09f)),
        make_text_entry("rounded_button_font_name", "tahoma"),
        make_float_entry("rounded_button_font_size", 11.0f),
        make_color_entry("rounded_button_font_color_normal", grey(0.4f)),
        make_color_entry("rounded_button_font_color_hover", grey(1.0f)),
        make_color_entry("rounded_button_font_color_disabled", grey(0.4f)),
        make_color_entry("rounded_button_next_back_color_normal", accent),
        make_color_entry("rounded_button_next_back_color_hover", rgb(0.07f, 0.65f, 0.25f)),
        make_color_entry("button_color_normal", window),
        make_color_entry("button_color_hover", grey(0.141f)),
        make_color_entry("button_border_color_normal", grey(0.4f)),
        make_color_entry("button_border_color_hover", soft_text),
        make_text_entry("button_font_name", "tahoma"),
        make_code_entry("button_font_weight", weight_normal),
        make_float_entry("button_font_size", 11.0f),
        make_color_entry("button_font_color", grey(0.5f)),
        make_color_entry("button_font_color_hover", grey(0.884f)),
        make_color_entry("breakline_color", grey(0.204f)),
        make_color_entry("summary_back_color", window),
        make_color_entry("summary_scroll_color", grey(0.0f)),
        make_float_entry("summary_font_size", 10.0f),
        make_color_entry("summary_font_color", dim_text),
        make_float_entry("progress_label_font_size", 11.0f),
        make_color_entry("progress_bar_back_color", grey(0.0f)),
        make_color_entry("progress_bar_color1", rgb(0.11f, 0.702f, 0.318f)),
        make_color_entry("progress_bar_color2", rgb(0.059f, 0.376f, 0.169f)),
        make_code_entry("installing_label_font_style", style_italic),
        make_color_entry("installing_label_font_color", soft_text),
        make_text_entry("installed_check_font_name", "tahoma"),
        make_color_entry("installed_check_font_color", grey(0.729f)),
        make_float_entry("installed_check_font_size", 12.0f),
        // Spelled so: the result rows alias their weight to this very key.
        make_code_entry("installed_check_font_wight", weight_bold),
        image_entry("installed_check_image", art::installed_check_png, 2),
        make_text_entry("notifications_text_font_name", "tahoma"),
        make_float_entry("notifications_text_font_size", 12.0f),
        make_color_entry("notifications_text_font_color", soft_text),
        make_code_entry("notifications_text_alignment", align_centre),
        make_pair_entry("notifications_window_margins", 70, 20),
        make_pair_entry("notifications_component_margins", 20, 20),
        make_pair_entry("notifications_error_window_margins", 40, 20),
        make_pair_entry("notifications_error_component_margins", 20, 20),
        make_color_entry("notifications_back_color", window),
    };
}

void install_theme() { install_style_overrides(theme_entries()); }

}  // namespace installer
