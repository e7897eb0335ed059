#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "flow_item_list.h"
#include "flow_layout.h"
#include "ui_test_support.h"
#include "widget.h"

namespace {

using namespace qssdk::ui;

flow_item child(rect bounds, bool stretch = false, bool visible = true) {
    return {flow_item_kind::child, bounds, visible, stretch, 0};
}
flow_item fixed_space(int32_t length) { return {flow_item_kind::fixed_space, {}, true, false, length}; }
flow_item stretch_space() { return {flow_item_kind::stretch_space, {}, true, true, 0}; }

struct layout_case {
    std::string_view name;
    flow_params params;
    std::vector<flow_item> items;
    std::vector<flow_placement> placements;
    int32_t width, height;  // the panel afterwards
};

constexpr flow_direction vertical = flow_direction::vertical;
constexpr flow_direction horizontal = flow_direction::horizontal;

void expect_layout(const flow_result& r, const layout_case& c) {
    ASSERT_EQ(r.placements.size(), c.placements.size());
    for (size_t i = 0; i < c.placements.size(); ++i) {
        EXPECT_EQ(r.placements[i].item, c.placements[i].item) << "placement " << i;
        EXPECT_EQ(r.placements[i].bounds, c.placements[i].bounds) << "placement " << i;
    }
    EXPECT_EQ(r.width, c.width);
    EXPECT_EQ(r.height, c.height);
}

std::vector<layout_case> layout_cases() {
    return {
        {"three children stack and the panel takes their length",
         {vertical, false, true, 100, 0},
         {child({5, 99, 40, 20}), child({0, 0, 50, 30}), child({7, 0, 60, 10})},
         {{0, {5, 0, 40, 20}}, {1, {0, 20, 50, 30}}, {2, {7, 50, 60, 10}}},
         100, 60},
        {"horizontal keeps each child's y",
         {horizontal, false, true, 0, 40},
         {child({0, 3, 20, 10}), child({0, 4, 30, 12})},
         {{0, {0, 3, 20, 10}}, {1, {20, 4, 30, 12}}},
         50, 40},
        {"without auto-size the panel keeps its size",
         {vertical, false, false, 100, 7},
         {child({0, 0, 10, 20})},
         {{0, {0, 0, 10, 20}}},
         100, 7},
        {"fill-cross spans the panel's breadth",
         {vertical, true, true, 80, 0},
         {child({3, 0, 10, 20}), child({0, 0, 200, 5})},
         {{0, {3, 0, 80, 20}}, {1, {0, 20, 80, 5}}},
         80, 25},
        {"two stretching children share 40 left over",
         {vertical, false, true, 50, 100},
         {child({0, 0, 10, 20}, true), child({0, 0, 10, 10}), child({0, 0, 10, 30}, true)},
         {{0, {0, 0, 10, 40}}, {1, {0, 40, 10, 10}}, {2, {0, 50, 10, 50}}},
         50, 100},
        {"a shortfall shrinks the stretching children",
         {horizontal, false, true, 50, 10},
         {child({0, 0, 40, 10}, true), child({0, 0, 10, 10}), child({0, 0, 40, 10}, true)},
         {{0, {0, 0, 20, 10}}, {1, {20, 0, 10, 10}}, {2, {30, 0, 20, 10}}},
         50, 10},
        {"a shortfall beyond a child's length leaves it at 0 and takes the rest from the others",
         {vertical, false, true, 10, 40},
         {child({0, 0, 10, 4}, true), child({0, 0, 10, 56}, true)},
         {{0, {0, 0, 10, 0}}, {1, {0, 0, 10, 40}}},
         10, 40},
        {"a shortfall larger than every stretching length: all at 0, never below",
         {vertical, false, true, 10, 5},
         {child({0, 0, 10, 4}, true), child({0, 0, 10, 20}), stretch_space()},
         {{0, {0, 0, 10, 0}}, {1, {0, 0, 10, 20}}},
         10, 20},
        {"hidden children take no room and no share",
         {vertical, false, true, 10, 100},
         {child({0, 0, 10, 20}, true), child({0, 0, 10, 40}, false, false), child({0, 0, 10, 30}, true, false),
          child({0, 0, 10, 10})},
         {{0, {0, 0, 10, 90}}, {3, {0, 90, 10, 10}}},
         10, 100},
        {"spaces: fixed ones keep their length, stretch ones share",
         {vertical, false, true, 10, 100},
         {fixed_space(15), child({0, 0, 10, 20}), stretch_space(), child({0, 0, 10, 5}), stretch_space()},
         {{1, {0, 15, 10, 20}}, {3, {0, 65, 10, 5}}},
         10, 100},
        {"the odd pixel of a share is left over",
         {vertical, false, true, 10, 41},
         {child({0, 0, 10, 0}, true), child({0, 0, 10, 0}, true)},
         {{0, {0, 0, 10, 20}}, {1, {0, 20, 10, 20}}},
         10, 40},
        {"negative sizes count as 0",
         {vertical, true, true, -5, 0},
         {child({0, 0, -3, -4}), fixed_space(-7)},
         {{0, {0, 0, 0, 0}}},
         -5, 0},
        {"an unknown direction places nothing",
         {static_cast<flow_direction>(2), false, true, 30, 40},
         {child({0, 0, 10, 20})},
         {},
         30, 40},
    };
}

TEST(UiFlowLayout, StacksStretchesFillsAndSizesThePanel) {
    for (const layout_case& c : layout_cases()) {
        SCOPED_TRACE(c.name);
        expect_layout(flow_layout(c.params, c.items), c);
    }
}

// Laying out again with the panel's new size and the same natural sizes changes nothing.
TEST(UiFlowLayout, LayingOutAgainChangesNothing) {
    for (const layout_case& c : layout_cases()) {
        SCOPED_TRACE(c.name);
        const flow_result first = flow_layout(c.params, c.items);
        flow_params again = c.params;
        again.width = first.width;
        again.height = first.height;
        std::vector<flow_item> moved = c.items;  // children at their new places, natural sizes kept
        for (const flow_placement& p : first.placements) {
            moved[p.item].bounds.x = p.bounds.x;
            moved[p.item].bounds.y = p.bounds.y;
        }
        expect_layout(flow_layout(again, moved), {c.name, again, moved, first.placements, first.width, first.height});
    }
}

TEST(UiFlowLayout, FitToParentReachesTheFarEdges) {
    struct fit_case {
        flow_direction direction;
        bool has_stretch;
        rect panel;
        rect expected;
    };
    const fit_case cases[] = {
        {vertical, false, {10, 20, 5, 7}, {10, 20, 290, 7}},
        {vertical, true, {10, 20, 5, 7}, {10, 20, 290, 180}},
        {horizontal, false, {10, 20, 5, 7}, {10, 20, 5, 180}},
        {horizontal, true, {10, 20, 5, 7}, {10, 20, 290, 180}},
        {vertical, true, {310, 250, 5, 7}, {310, 250, 0, 0}},  // beyond the parent: no negative size
        {static_cast<flow_direction>(7), true, {10, 20, 5, 7}, {10, 20, 5, 7}},
    };
    for (const fit_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << static_cast<int>(c.direction) << " stretch "
                                        << c.has_stretch);
        EXPECT_EQ(flow_fit_to_parent(c.direction, c.has_stretch, c.panel, 300, 200), c.expected);
    }
}

TEST(UiFlowItemList, ListsAChildOnceAndLaysOutFromItsNaturalSize) {
    ui_test::test_host host;
    widget panel, a, b, c;
    panel.set_window(&host);
    panel.initialize({0, 0, 100, 100});
    a.create(&panel, {0, 0, 30, 20});
    b.create(&panel, {0, 0, 30, 10});
    c.create(&panel, {0, 0, 30, 40});

    flow_item_list list;
    EXPECT_TRUE(list.add_child(a, true));
    EXPECT_TRUE(list.add_child(b, false));
    EXPECT_TRUE(list.add_child(c, true));
    EXPECT_FALSE(list.add_child(a, false));  // listed already: keeps its entry
    ASSERT_EQ(list.entries().size(), 3u);
    EXPECT_TRUE(list.has_stretch());

    // The panel grows, shrinks below its content, and grows back: the shares come from the natural
    // lengths 20 and 40 each time, not from what the last layout made of them.
    struct round {
        int32_t panel_height;
        rect a, b, c;
    };
    const round rounds[] = {
        {100, {0, 0, 30, 35}, {0, 35, 30, 10}, {0, 45, 30, 55}},
        {10, {0, 0, 30, 0}, {0, 0, 30, 10}, {0, 10, 30, 0}},
        {100, {0, 0, 30, 35}, {0, 35, 30, 10}, {0, 45, 30, 55}},
    };
    for (const round& r : rounds) {
        SCOPED_TRACE(testing::Message() << "panel height " << r.panel_height);
        const flow_params params{vertical, false, false, 100, r.panel_height};
        for (const flow_placement& p : flow_layout(params, list.describe()).placements)
            list.entries()[p.item].target->set_rect(p.bounds, true);
        EXPECT_EQ(a.get_rect(), r.a);
        EXPECT_EQ(b.get_rect(), r.b);
        EXPECT_EQ(c.get_rect(), r.c);
    }

    // A size the child takes by itself becomes its natural size; hiding it frees its room.
    a.set_rect({0, 0, 30, 50}, true);
    list.child_resized(a);
    EXPECT_EQ(list.describe()[0].bounds, (rect{0, 0, 30, 50}));
    a.set_visible(false);
    EXPECT_FALSE(list.describe()[0].visible);

    list.remove_child(&a);
    list.remove_child(&c);
    ASSERT_EQ(list.entries().size(), 1u);
    EXPECT_EQ(list.entries()[0].target, &b);
    EXPECT_FALSE(list.has_stretch());
    list.add_space(flow_item_kind::stretch_space);
    EXPECT_TRUE(list.has_stretch());
}

}  // namespace
