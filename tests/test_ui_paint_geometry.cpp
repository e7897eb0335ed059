// The painter's window-free geometry and codes: outlines and lines for a pen, the drop shadow's boxes and
// fade, font and alignment codes, image sizes at scales, range boxes from text metrics, font fallback.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "font_fallback.h"
#include "image_geometry.h"
#include "pen_geometry.h"
#include "shadow_geometry.h"
#include "text_codes.h"
#include "text_range_geometry.h"

namespace qssdk::ui {

// Readable boxes in failure messages.
void PrintTo(const float_box& b, std::ostream* os) {
    *os << "(" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << ")";
}

}  // namespace qssdk::ui

namespace {

using namespace qssdk::ui;

TEST(UiPenGeometry, OutlinesAreInsetByHalfThePen) {
    struct outline_case {
        rect r;
        float pen;
        float_box expected;
    };
    const outline_case cases[] = {
        {{0, 0, 10, 10}, 1.0f, {0.5f, 0.5f, 9.5f, 9.5f}},
        {{5, 5, 10, 4}, 2.0f, {6.0f, 6.0f, 14.0f, 8.0f}},
        {{-2, 3, 20, 20}, 3.0f, {-0.5f, 4.5f, 16.5f, 21.5f}},
    };
    for (const outline_case& c : cases) EXPECT_EQ(outline_box(c.r, c.pen), c.expected) << "pen " << c.pen;
}

TEST(UiPenGeometry, LineEndsFallOnPixelCentresForOddPens) {
    struct line_case {
        float pen;
        float offset;
    };
    const line_case cases[] = {{1.0f, 0.5f}, {2.0f, 0.0f}, {3.0f, 0.5f}, {4.0f, 0.0f}, {0.5f, 0.25f}};
    for (const line_case& c : cases) {
        EXPECT_FLOAT_EQ(line_end_offset(c.pen), c.offset) << "pen " << c.pen;
        const float_line l = line_ends({0, 5}, {10, 5}, c.pen);
        EXPECT_EQ(l, (float_line{c.offset, 5.0f + c.offset, 10.0f + c.offset, 5.0f + c.offset})) << "pen " << c.pen;
    }
}

TEST(UiShadowGeometry, FadeHasTwentyOneStopsFromOpaqueToNearlyClear) {
    struct stop_case {
        int i;
        float alpha;
    };
    // 3^(-1.3888888 (0.1 i)^2), worked out by hand.
    const stop_case cases[] = {{0, 1.0f}, {5, 0.68285f}, {10, 0.21740f}, {15, 0.032276f}, {20, 0.0022341f}};
    for (const stop_case& c : cases) EXPECT_NEAR(shadow_stop_alpha(c.i), c.alpha, 2e-4f) << "stop " << c.i;
    for (int i = 0; i < shadow_stop_count; ++i) {
        EXPECT_NEAR(shadow_stop_position(i), static_cast<float>(i) / 21.0f, 1e-6f) << "stop " << i;
        if (i > 0) {
            EXPECT_LT(shadow_stop_alpha(i), shadow_stop_alpha(i - 1)) << "stop " << i;
        }
    }
}

TEST(UiShadowGeometry, BoxesSurroundTheOffsetChild) {
    // Child {10, 20, 100, 50}, offset (3, 4), size 10: reach 7, so the box runs from (6, 17) to (120, 81).
    const shadow_layout s = make_shadow_layout({10, 20, 100, 50}, 3, 4, 10);
    const shadow_corner corners[] = {
        {{110, 71, 120, 81}, 110, 71, 10},  // bottom-right
        {{110, 17, 120, 27}, 110, 27, 10},  // top-right
        {{6, 71, 16, 81}, 16, 71, 10},      // bottom-left
        {{6, 17, 16, 27}, 16, 27, 10},      // top-left
    };
    const shadow_band bands[] = {
        {{6, 27, 16, 71}, 16, 27, 6, 27},      // left, fading towards x = 6
        {{16, 17, 110, 27}, 16, 27, 16, 17},   // top, towards y = 17
        {{110, 27, 120, 71}, 110, 27, 120, 27},  // right, towards x = 120
        {{16, 71, 110, 81}, 16, 71, 16, 81},   // bottom, towards y = 81
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(s.corners[i], corners[i]) << "corner " << i;
        EXPECT_EQ(s.bands[i], bands[i]) << "band " << i;
    }
    EXPECT_EQ(s.inner, (float_box{16, 27, 110, 71}));
}

TEST(UiShadowGeometry, ReachIsSevenTenthsOfTheSizeAndSizeZeroLeavesOnlyTheFill) {
    struct reach_case {
        uint32_t size;
        float reach;
    };
    const reach_case cases[] = {{10, 7}, {15, 10}, {1, 0}, {20, 14}};
    for (const reach_case& c : cases) {
        const shadow_layout s = make_shadow_layout({0, 0, 40, 30}, 0, 0, c.size);
        const float sz = static_cast<float>(c.size);
        EXPECT_EQ(s.corners[3].box, (float_box{-c.reach, -c.reach, -c.reach + sz, -c.reach + sz})) << c.size;
        EXPECT_EQ(s.corners[0].box, (float_box{40 + c.reach - sz, 30 + c.reach - sz, 40 + c.reach, 30 + c.reach}))
            << c.size;
    }
    const shadow_layout none = make_shadow_layout({5, 6, 40, 30}, 2, 2, 0);
    for (const shadow_corner& c : none.corners) EXPECT_TRUE(c.box.left == c.box.right && c.box.top == c.box.bottom);
    for (const shadow_band& b : none.bands) EXPECT_TRUE(b.box.left == b.box.right || b.box.top == b.box.bottom);
    EXPECT_EQ(none.inner, (float_box{7, 8, 47, 38}));
}

TEST(UiTextCodes, CodesMapToWeightsStylesAlignmentsAndStrokes) {
    const std::pair<uint32_t, uint32_t> weights[] = {{0, 400}, {1, 300}, {2, 700}, {3, 400}, {5, 400}};
    for (auto [code, weight] : weights) EXPECT_EQ(font_weight_from_code(code), weight) << "weight code " << code;

    const std::pair<uint32_t, font_style> styles[] = {
        {0, font_style::normal}, {1, font_style::italic}, {2, font_style::normal}, {9, font_style::normal}};
    for (auto [code, style] : styles) EXPECT_EQ(font_style_from_code(code), style) << "style code " << code;

    const std::pair<uint32_t, text_alignment> horizontal[] = {{0, text_alignment::leading},
                                                              {1, text_alignment::center},
                                                              {2, text_alignment::trailing},
                                                              {3, text_alignment::center}};
    for (auto [code, a] : horizontal) EXPECT_EQ(text_alignment_from_code(code), a) << "horizontal code " << code;

    const std::pair<uint32_t, paragraph_alignment> vertical[] = {{0, paragraph_alignment::center},
                                                                 {1, paragraph_alignment::near_edge},
                                                                 {2, paragraph_alignment::far_edge},
                                                                 {7, paragraph_alignment::center}};
    for (auto [code, a] : vertical) EXPECT_EQ(paragraph_alignment_from_code(code), a) << "vertical code " << code;

    const std::pair<int32_t, stroke_kind> strokes[] = {{0, stroke_kind::solid},
                                                       {1, stroke_kind::dotted},
                                                       {2, stroke_kind::dashed},
                                                       {7, stroke_kind::solid},
                                                       {-1, stroke_kind::solid}};
    for (auto [code, kind] : strokes) EXPECT_EQ(stroke_kind_from_code(code), kind) << "stroke code " << code;
}

TEST(UiImageGeometry, SizesInDipsAreTruncatedPixelsOverScale) {
    struct size_case {
        uint32_t w, h;
        float scale;
        size expected;
    };
    const size_case cases[] = {
        {56, 112, 4.0f, {14, 28}}, {100, 50, 2.0f, {50, 25}}, {3, 3, 2.0f, {1, 1}},
        {10, 10, 1.5f, {6, 6}},    {17, 9, 1.0f, {17, 9}},
    };
    for (const size_case& c : cases)
        EXPECT_EQ(image_size_in_dips(c.w, c.h, c.scale), c.expected) << c.w << "x" << c.h << " at " << c.scale;
    EXPECT_EQ(image_source_pixels({0, 16, 16, 16}, 2.0f), (float_box{0, 32, 32, 64}));
    EXPECT_EQ(image_source_pixels({1, 2, 3, 4}, 1.0f), (float_box{1, 2, 4, 6}));
}

TEST(UiTextRangeGeometry, RangeBoxesFollowLinesClustersAndAlignment) {
    // Two lines: "ab cd " (the space at the end is trailing white space) and "ef"; every character one
    // cluster 10 wide; lines 15 and 16 high.
    const std::vector<text_line_metrics> lines = {{6, 1, 15.0f}, {2, 0, 16.0f}};
    const std::vector<text_cluster_metrics> clusters(8, text_cluster_metrics{1, 10.0f});
    struct range_case {
        text_alignment alignment;
        uint32_t start, end;
        float_box expected;
    };
    const range_case cases[] = {
        {text_alignment::leading, 1, 4, {10, 2, 40, 17}},
        {text_alignment::leading, 4, 8, {0, 2, 60, 33}},   // across both lines
        {text_alignment::leading, 6, 7, {0, 17, 10, 33}},  // second line only
        {text_alignment::center, 0, 2, {25, 2, 45, 17}},   // first line drawn 50 wide in 100
        {text_alignment::center, 6, 8, {40, 17, 60, 33}},
        {text_alignment::trailing, 7, 8, {90, 17, 100, 33}},
        {text_alignment::leading, 3, 3, {}},   // empty
        {text_alignment::leading, 5, 2, {}},   // reversed
        {text_alignment::leading, 8, 12, {}},  // past the text
    };
    for (const range_case& c : cases)
        EXPECT_EQ(text_range_box(lines, clusters, {100.0f, 2.0f, c.alignment}, c.start, c.end), c.expected)
            << "[" << c.start << ", " << c.end << ") alignment " << static_cast<int>(c.alignment);
}

TEST(UiTextRangeGeometry, RectsRoundHalvesAwayFromZero) {
    EXPECT_EQ(rounded_rect({0.5f, 1.49f, 3.0f, 4.5f}), (rect{1, 1, 3, 3}));
    EXPECT_EQ(rounded_rect({-0.5f, -2.5f, 1.0f, 0.0f}), (rect{-1, -3, 2, 3}));
}

TEST(UiFontFallback, MissingFamiliesFallBackToAnInstalledOne) {
    struct fallback_case {
        std::wstring requested;
        std::set<std::wstring> installed;
        std::wstring expected;
    };
    const fallback_case cases[] = {
        {L"Verdana", {L"Verdana", L"Tahoma"}, L"Verdana"},
        {L"Verdana", {L"DejaVu Sans", L"Tahoma"}, L"Tahoma"},
        {L"Segoe UI", {L"DejaVu Sans", L"Liberation Sans"}, L"Liberation Sans"},
        {L"Courier", {L"DejaVu Sans"}, L"DejaVu Sans"},
        {L"Verdana", {L"Some Symbol Font"}, L"Verdana"},
    };
    for (const fallback_case& c : cases) {
        const auto installed = [&](std::wstring_view name) { return c.installed.count(std::wstring(name)) > 0; };
        EXPECT_EQ(choose_font_family(c.requested, installed), c.expected);
    }
}

}  // namespace
