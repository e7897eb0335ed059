#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "html_subset.h"
#include "link_area.h"

namespace {

using namespace qssdk::ui;

TEST(UiLinkArea, OneAreaPerLinkRunFromTheLayoutAndNoneForAnEmptyRange) {
    const html_text html = parse_html_subset("See <a href=one>A</a><a href=two>BC</a> and <b>more</b>", "Arial", 10.0f);
    // Runs over no text (and runs past the text) must not reach the layout.
    std::vector<text_run> runs = html.runs;
    text_run empty_link = runs[1];
    empty_link.start = empty_link.end = 3;
    runs.push_back(empty_link);
    text_run past_end = runs[1];
    past_end.start = 2;
    past_end.end = static_cast<uint32_t>(html.text.size() + 1);
    runs.push_back(past_end);

    std::vector<std::pair<uint32_t, uint32_t>> asked;
    const auto locate = [&asked](uint32_t start, uint32_t end) {
        asked.emplace_back(start, end);
        return rect{static_cast<int32_t>(start) * 10, 0, static_cast<int32_t>(end - start) * 10, 12};
    };
    const std::vector<link_area> areas = make_link_areas(html.text, runs, locate);

    const std::vector<link_area> expected = {
        {{40, 0, 10, 12}, "one"}, {{50, 0, 20, 12}, "two"}, {{}, "one"}, {{}, "one"}};
    EXPECT_EQ(areas, expected);
    EXPECT_EQ(asked, (std::vector<std::pair<uint32_t, uint32_t>>{{4, 5}, {5, 7}}));
    EXPECT_TRUE(make_link_areas("", parse_html_subset("", "Arial", 10.0f).runs, locate).empty());
}

TEST(UiLinkArea, HitTestIncludesEveryEdgeAndNeverMatchesAnEmptyArea) {
    const std::vector<link_area> areas = {
        {{0, 0, 0, 0}, "empty"},     // an empty run's area at the origin
        {{10, 20, 0, 15}, "flat"},   // no width
        {{10, 20, 30, 15}, "first"},
        {{40, 20, 30, 15}, "second"},  // shares the edge x = 40 with the first
    };
    struct hit_case {
        int32_t x, y;
        const char* href;  // null: no link
    };
    const hit_case cases[] = {
        {0, 0, nullptr},     {10, 20, "first"},  {40, 35, "first"},  // right and bottom edges included
        {25, 27, "first"},   {41, 27, "second"}, {70, 35, "second"}, {71, 27, nullptr},
        {25, 36, nullptr},   {9, 27, nullptr},   {25, 19, nullptr},
    };
    for (const hit_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        const link_area* hit = link_at(areas, c.x, c.y);
        if (c.href)
            EXPECT_TRUE(hit && hit->href == c.href) << (hit ? hit->href : "none");
        else
            EXPECT_EQ(hit, nullptr) << hit->href;
    }
}

}  // namespace
