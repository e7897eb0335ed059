#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "html_subset.h"
#include "text_run_positions.h"

namespace {

using namespace qssdk::ui;

using bounds = std::vector<std::pair<uint32_t, uint32_t>>;

bounds bounds_of(const std::vector<text_run>& runs) {
    bounds b;
    for (const text_run& r : runs) b.emplace_back(r.start, r.end);
    return b;
}

TEST(UiTextRunPositions, BoundsMoveFromBytesToUtf16Positions) {
    struct position_case {
        std::string_view html;
        bounds in_bytes, in_utf16;
    };
    const position_case cases[] = {
        {"Hello <b>you</b>", {{0, 6}, {6, 9}, {9, 9}}, {{0, 6}, {6, 9}, {9, 9}}},
        {"\xC3\xA9t\xC3\xA9 <b>x</b>y", {{0, 6}, {6, 7}, {7, 8}, {8, 8}}, {{0, 4}, {4, 5}, {5, 6}, {6, 6}}},
        // A character beyond the basic plane takes two UTF-16 positions.
        {"\xF0\x9F\x98\x80<a href=x>go</a>", {{0, 4}, {4, 6}, {6, 6}}, {{0, 2}, {2, 4}, {4, 4}}},
        {"", {{0, 0}}, {{0, 0}}},
    };
    for (const position_case& c : cases) {
        SCOPED_TRACE(c.html);
        const html_text out = parse_html_subset(c.html, "Arial", 10.0f);
        EXPECT_EQ(bounds_of(out.runs), c.in_bytes);
        const std::vector<text_run> moved = runs_in_utf16_positions(out.text, out.runs);
        EXPECT_EQ(bounds_of(moved), c.in_utf16);
        ASSERT_EQ(moved.size(), out.runs.size());
        for (size_t i = 0; i < moved.size(); ++i) EXPECT_EQ(moved[i].href, out.runs[i].href);  // only bounds move
    }
}

}  // namespace
