#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "InstallerTheme.h"
#include "License.h"
#include "style.h"
#include "style_table.h"
#include "ui_style_test_support.h"

namespace {

using namespace ui_test;

struct stated_entry {
    std::string_view key;
    style_value value;  // images: checked by decoding them
};

const color accent = rgb(0.114f, 0.725f, 0.329f);
constexpr color grey(float v) { return rgb(v, v, v); }

// The theme in table order with each value in the kind its reader takes.
const std::vector<stated_entry>& stated_theme() {
    static const std::vector<stated_entry> entries = {
        {"header_size", code(64)},
        {"footer_size", code(50)},
        {"banner_size", two(450, 500)},
        {"banner_image", {}},
        {"background_image", {}},
        {"logo_image", {}},
        {"main_back_color", colour(grey(0.071f))},
        {"main_back_gradient_color1", colour(grey(0.11f))},
        {"main_back_gradient_color2", colour(grey(0.078f))},
        {"label_font_color", colour(grey(0.784f))},
        {"label_font_name", text("verdana")},
        {"checkbox_font_color", colour(grey(0.784f))},
        {"checkbox_font_name", text("verdana")},
        {"checkbox_image", {}},
        {"title_font_size", real(29.0f)},
        {"title_font_name", text("tahoma")},
        {"title_font_weight", code(0)},
        {"title_font_color", colour(accent)},
        {"intro_font_size", real(13.0f)},
        {"intro_font_name", text("tahoma")},
        {"intro_font_color", colour(grey(0.575f))},
        {"intro_version_font_size", real(12.0f)},
        {"intro_version_font_color", colour(grey(0.394f))},
        {"intro_version_font_style", code(1)},
        {"label_intro_text_valign", code(1)},
        {"label_path_text_valign", code(1)},
        {"label_path_font_size", real(11.0f)},
        {"label_adobe_version_weight", code(2)},
        {"label_assets_weight", code(2)},
        {"label_install_weight", code(2)},
        {"license_label_font_name", text("Arial")},
        {"license_label_font_size", real(15.0f)},
        {"license_label_font_color", colour(grey(0.0f))},
        {"header_text_font_name", text("tahoma")},
        {"header_text_font_size", real(11.0f)},
        {"header_text_font_color", colour(grey(0.325f))},
        {"footer_text_font_name", text("tahoma")},
        {"footer_text_font_size", real(11.0f)},
        {"footer_text_font_color", colour(grey(0.494f))},
        {"rounded_button_back_color_normal", colour(grey(0.141f))},
        {"rounded_button_back_color_hover", colour(grey(0.216f))},
        {"rounded_button_back_color_disabled", colour(grey(0.09f))},
        {"rounded_button_font_name", text("tahoma")},
        {"rounded_button_font_size", real(11.0f)},
        {"rounded_button_font_color_normal", colour(grey(0.4f))},
        {"rounded_button_font_color_hover", colour(grey(1.0f))},
        {"rounded_button_font_color_disabled", colour(grey(0.4f))},
        {"rounded_button_next_back_color_normal", colour(accent)},
        {"rounded_button_next_back_color_hover", colour(rgb(0.07f, 0.65f, 0.25f))},
        {"button_color_normal", colour(grey(0.071f))},
        {"button_color_hover", colour(grey(0.141f))},
        {"button_border_color_normal", colour(grey(0.4f))},
        {"button_border_color_hover", colour(grey(0.784f))},
        {"button_font_name", text("tahoma")},
        {"button_font_weight", code(0)},
        {"button_font_size", real(11.0f)},
        {"button_font_color", colour(grey(0.5f))},
        {"button_font_color_hover", colour(grey(0.884f))},
        {"breakline_color", colour(grey(0.204f))},
        {"summary_back_color", colour(grey(0.071f))},
        {"summary_scroll_color", colour(grey(0.0f))},
        {"summary_font_size", real(10.0f)},
        {"summary_font_color", colour(grey(0.575f))},
        {"progress_label_font_size", real(11.0f)},
        {"progress_bar_back_color", colour(grey(0.0f))},
        {"progress_bar_color1", colour(rgb(0.11f, 0.702f, 0.318f))},
        {"progress_bar_color2", colour(rgb(0.059f, 0.376f, 0.169f))},
        {"installing_label_font_style", code(1)},
        {"installing_label_font_color", colour(grey(0.784f))},
        {"installed_check_font_name", text("tahoma")},
        {"installed_check_font_color", colour(grey(0.729f))},
        {"installed_check_font_size", real(12.0f)},
        {"installed_check_font_wight", code(2)},
        {"installed_check_image", {}},
        {"notifications_text_font_name", text("tahoma")},
        {"notifications_text_font_size", real(12.0f)},
        {"notifications_text_font_color", colour(grey(0.784f))},
        {"notifications_text_alignment", code(1)},
        {"notifications_window_margins", two(70, 20)},
        {"notifications_component_margins", two(20, 20)},
        {"notifications_error_window_margins", two(40, 20)},
        {"notifications_error_component_margins", two(20, 20)},
        {"notifications_back_color", colour(grey(0.071f))},
    };
    return entries;
}

TEST(InstallerTheme, HoldsEveryEntryInTableOrderWithItsKindAndValue) {
    const std::vector<style_entry> theme = installer::theme_entries();
    const std::vector<stated_entry>& stated = stated_theme();
    ASSERT_EQ(theme.size(), stated.size());
    for (size_t i = 0; i < stated.size(); ++i) {
        SCOPED_TRACE(std::string(stated[i].key));
        EXPECT_EQ(theme[i].key, stated[i].key);
        if (stated[i].key.ends_with("_image"))
            EXPECT_EQ(theme[i].value.bytes.size(), sizeof(image_data));
        else
            EXPECT_EQ(theme[i].value, stated[i].value);  // bytes and colour: the kind and the value
    }
}

TEST(InstallerTheme, StandsBetweenAWidgetsOwnValuesAndTheDefaults) {
    const style before;
    const style_value default_font = before.get("checkbox_font_name");
    installer::install_theme();
    style row;
    EXPECT_EQ(row.get("checkbox_font_name"), text("verdana")) << "the theme replaces a default";
    EXPECT_EQ(row.get("scroll_back_color"), default_style_table().at("scroll_back_color"))
        << "a key the theme lacks falls through to the default";
    EXPECT_EQ(row.get("title_font_size").as_float(), 29.0f);
    row.set_scalar("title_font_weight", 2);
    EXPECT_EQ(row.get("title_font_weight").as_int(), 2) << "a widget's own value beats the theme";
    // The result rows read their weight through an alias to the key as the theme spells it.
    row.set_alias("checkbox_font_weight", "installed_check_font_wight");
    EXPECT_EQ(row.get("checkbox_font_weight").as_int(), 2);
    row.set_alias("checkbox_font_weight", "installed_check_font_weight");
    EXPECT_EQ(row.get("checkbox_font_weight").as_int(), 0) << "any other spelling finds nothing";
    install_style_overrides({});
    EXPECT_EQ(before.get("checkbox_font_name"), default_font);
}

class InstallerThemeImages : public com_test {};

TEST_F(InstallerThemeImages, EveryImageDecodesWithItsStatedFormatSizeAndFrames) {
    const struct {
        std::string_view key;
        GUID format;
        UINT width, height;
        uint32_t frames;
    } images[] = {
        {"banner_image", GUID_ContainerFormatJpeg, 450, 500, 1},
        {"background_image", GUID_ContainerFormatPng, 576, 494, 1},
        {"logo_image", GUID_ContainerFormatPng, 118, 36, 1},
        {"checkbox_image", GUID_ContainerFormatPng, 14, 28, 2},
        {"installed_check_image", GUID_ContainerFormatPng, 18, 36, 2},
    };
    const std::vector<style_entry> theme = installer::theme_entries();
    std::vector<const unsigned char*> seen;
    for (const auto& expected : images) {
        SCOPED_TRACE(std::string(expected.key));
        const auto found =
            std::find_if(theme.begin(), theme.end(), [&](const style_entry& e) { return e.key == expected.key; });
        ASSERT_NE(found, theme.end());
        const image_data image = found->value.as_image();
        ASSERT_NE(image.bytes, nullptr);
        EXPECT_EQ(image.frames, expected.frames);
        EXPECT_EQ(image.scale, 1.0f);
        const decoded_image d = decode_image(image);
        EXPECT_EQ(d.format, expected.format);
        EXPECT_EQ(d.width, expected.width);
        EXPECT_EQ(d.height, expected.height);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), image.bytes), seen.end()) << "each image is its own";
        seen.push_back(image.bytes);
    }
}

// The licence is shown by the HTML label, which deletes line ends, decodes no entities and drops text
// after the last tag: every line that goes on in the next must carry its own blank.
TEST(InstallerLicense, IsAsciiHtmlThatTheLabelShowsWhole) {
    const std::string_view html = installer::license_html();
    ASSERT_GT(html.size(), 1000u);
    EXPECT_TRUE(html.starts_with("<html>"));
    EXPECT_TRUE(html.ends_with("</html>\r\n"));
    EXPECT_NE(html.find("QS Pellux"), std::string_view::npos);
    EXPECT_NE(html.find("Quillstone"), std::string_view::npos);
    for (size_t i = 0; i < html.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(html[i]);
        ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << i;
        if (c == '\n') {
            ASSERT_EQ(html[i - 1], '\r') << "CRLF line ends, byte " << i;
        }
        if (c == '\r') {
            ASSERT_TRUE(i == 0 || html[i - 1] == '>') << "a line ends after a tag, byte " << i;
        }
    }
    EXPECT_EQ(html.find('&'), std::string_view::npos) << "no entities";
}

}  // namespace
