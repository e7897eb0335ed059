// The window's arithmetic that needs no window: flag bits to styles, the resize hit test, centring and
// the conversions between DIPs and device pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "dip_conversion.h"
#include "resize_hit_test.h"
#include "window_placement.h"
#include "window_styles.h"

namespace {

using namespace qssdk::ui;

TEST(UiWindowStyles, FlagBitsGiveTheirStyles) {
    constexpr uint32_t base = WS_CLIPCHILDREN;
    constexpr uint32_t caption_menu = WS_CAPTION | WS_SYSMENU;
    const struct {
        uint16_t flags;
        window_styles expected;
    } cases[] = {
        {0, {base | caption_menu, 0, false}},
        {popup, {base | WS_POPUP, 0, false}},
        {popup | topmost, {base | WS_POPUP, WS_EX_TOPMOST, false}},  // the tooltip window's 66
        {caption_only, {base | WS_CAPTION, 0, false}},
        {caption_only | minimize_box | maximize_box, {base | WS_CAPTION, 0, false}},
        {caption_only | popup | resizable, {base | WS_CAPTION | WS_THICKFRAME, 0, false}},
        {resizable, {base | caption_menu | WS_THICKFRAME, 0, false}},
        {minimize_box | maximize_box, {base | caption_menu | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, false}},
        {popup | minimize_box, {base | WS_POPUP | WS_MINIMIZEBOX, 0, false}},
        {topmost, {base | caption_menu, WS_EX_TOPMOST, false}},
        {borderless, {base | WS_POPUP, 0, false}},
        {borderless | resizable, {base | WS_POPUP, 0, true}},
        {borderless | popup | caption_only | minimize_box | maximize_box | topmost, {base | WS_POPUP, 0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags);
        const window_styles s = styles_for_flags(c.flags);
        EXPECT_EQ(s.style, c.expected.style);
        EXPECT_EQ(s.ex_style, c.expected.ex_style);
        EXPECT_EQ(s.custom_resize_hit_test, c.expected.custom_resize_hit_test);
    }
}

TEST(UiWindowStyles, ResizeHitTestFindsEdgesAndCornersInOrder) {
    // A 200 x 100 window with an 8-pixel border across and a 6-pixel one up and down.
    const struct {
        int32_t x, y;
        resize_hit expected;
    } cases[] = {
        {0, 0, resize_hit::top_left},      {7, 5, resize_hit::top_left},     {8, 5, resize_hit::top},
        {7, 6, resize_hit::left},          {193, 0, resize_hit::top_right},  {192, 0, resize_hit::top},
        {199, 99, resize_hit::bottom_right}, {193, 95, resize_hit::bottom_right},
        {193, 94, resize_hit::right},      {0, 99, resize_hit::bottom_left}, {3, 50, resize_hit::left},
        {100, 3, resize_hit::top},         {196, 50, resize_hit::right},     {100, 97, resize_hit::bottom},
        {100, 50, resize_hit::client},     {8, 6, resize_hit::client},       {192, 94, resize_hit::client},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.y);
        EXPECT_EQ(resize_hit_test(c.x, c.y, 200, 100, 8, 6), std::optional(c.expected));
    }
    // With no border across, the system answers.
    EXPECT_EQ(resize_hit_test(0, 0, 200, 100, 0, 6), std::nullopt);
}

TEST(UiWindowStyles, CentringOverTheReferenceStaysInTheWorkArea) {
    const edges screen{0, 0, 1600, 1200};
    const struct {
        const char* what;
        edges reference;
        int32_t client_w, client_h, outer_w, outer_h;
        point expected;
    } cases[] = {
        {"on the screen", screen, 400, 300, 410, 330, {600, 450}},
        {"odd halves truncate", screen, 401, 301, 411, 331, {599, 449}},
        {"over an owner", {100, 200, 700, 600}, 200, 100, 210, 130, {300, 350}},
        {"owner near the right and bottom edges", {1400, 1100, 1800, 1300}, 300, 200, 310, 230, {1290, 970}},
        {"owner off the left and top", {-500, -400, -100, -100}, 200, 100, 210, 130, {1, 1}},
        {"larger than the work area", screen, 2000, 1500, 2010, 1530, {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(centered_position(c.reference, c.client_w, c.client_h, c.outer_w, c.outer_h, screen), c.expected);
    }
}

TEST(UiWindowStyles, DipsAndPixelsConvertAtTheDpi) {
    const struct {
        int32_t dips;
        uint32_t dpi;
        int32_t pixels;
    } cases[] = {{400, 96, 400}, {400, 144, 600}, {3, 144, 5}, {-3, 144, -5}, {7, 120, 9}, {100, 192, 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dips << " at " << c.dpi);
        EXPECT_EQ(dips_to_pixels(c.dips, c.dpi), c.pixels);
    }
    EXPECT_EQ(pixels_to_dips(600, 144), 400);
    EXPECT_EQ(pixels_to_dips(5, 144), 3);  // 3.33 rounds to nearest
}

TEST(UiWindowStyles, AreasToRepaintGrowOutwardBothWays) {
    const struct {
        edges dips;
        uint32_t dpi_x, dpi_y;
        edges pixels;
    } to_pixels[] = {
        {{10, 20, 30, 40}, 96, 96, {10, 20, 30, 40}},
        {{1, 1, 3, 3}, 144, 144, {1, 1, 5, 5}},          // 1.5 down to 1, 4.5 up to 5
        {{-1, 0, 1, 1}, 144, 120, {-2, 0, 2, 2}},        // -1.5 down to -2; 1.25 up to 2
        {{2, 2, 4, 4}, 144, 144, {3, 3, 6, 6}},          // whole values stay
    };
    for (const auto& c : to_pixels) {
        SCOPED_TRACE(testing::Message() << c.dips.left << "," << c.dips.top << "," << c.dips.right << ","
                                        << c.dips.bottom << " at " << c.dpi_x << "x" << c.dpi_y);
        EXPECT_EQ(dips_to_pixels_outward(c.dips, c.dpi_x, c.dpi_y), c.pixels);
    }
    const struct {
        edges pixels;
        uint32_t dpi;
        edges dips;
    } to_dips[] = {
        {{1, 1, 5, 5}, 144, {0, 0, 4, 4}},  // 0.67 down to 0, 3.33 up to 4
        {{3, 3, 6, 6}, 144, {2, 2, 4, 4}},
        {{-1, -1, 0, 0}, 144, {-1, -1, 0, 0}},
        {{17, 0, 33, 1}, 96, {17, 0, 33, 1}},
    };
    for (const auto& c : to_dips) {
        SCOPED_TRACE(testing::Message() << c.pixels.left << "," << c.pixels.top << " at " << c.dpi);
        EXPECT_EQ(pixels_to_dips_outward(c.pixels, c.dpi, c.dpi), c.dips);
    }
    // A DIP area covers itself after the round trip through pixels.
    const edges area{3, 7, 11, 13};
    const edges back = pixels_to_dips_outward(dips_to_pixels_outward(area, 144, 120), 144, 120);
    EXPECT_LE(back.left, area.left);
    EXPECT_LE(back.top, area.top);
    EXPECT_GE(back.right, area.right);
    EXPECT_GE(back.bottom, area.bottom);
}

}  // namespace
