// The flow panel widget in a widget tree with a stand-in window: stacking its children, following their
// own resizes and visibility but not the resizes its layout makes, fitting its parent, and listing each
// child once.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "event_manager.h"
#include "flow_panel.h"
#include "ui_test_support.h"

namespace {

using namespace qssdk::ui;
using ui_test::test_host;

class UiFlowPanel : public testing::Test {
protected:
    UiFlowPanel() {
        root.set_window(&host);
        root.initialize({0, 0, 400, 300});
    }
    std::vector<rect> rects_of(std::initializer_list<const widget*> ws) const {
        std::vector<rect> rs;
        for (const widget* w : ws) rs.push_back(w->get_rect());
        return rs;
    }

    test_host host;
    widget root;
};

TEST_F(UiFlowPanel, StacksFollowsItsChildrenAndSizesItself) {
    flow_panel panel(flow_direction::vertical, true);
    panel.create(&root, {10, 10, 100, 0});
    widget a, b, c;
    a.create(&panel, {5, 0, 40, 20});
    b.create(&panel, {0, 0, 40, 30});
    c.create(&panel, {0, 0, 40, 10});
    panel.layout();
    EXPECT_EQ(rects_of({&a, &b, &c}), (std::vector<rect>{{5, 0, 40, 20}, {0, 20, 40, 30}, {0, 50, 40, 10}}));
    EXPECT_EQ(panel.get_rect(), (rect{10, 10, 100, 60}));

    const struct {
        std::string_view what;
        void (*change)(widget& a, widget& b);
        std::vector<rect> expected;
        int32_t panel_height;
    } steps[] = {
        {"a child grows by itself", [](widget&, widget& b) { b.set_rect({0, 20, 40, 45}, true); },
         {{5, 0, 40, 20}, {0, 20, 40, 45}, {0, 65, 40, 10}}, 75},
        {"a child is hidden", [](widget& a, widget&) { a.set_visible(false); },
         {{5, 0, 40, 20}, {0, 0, 40, 45}, {0, 45, 40, 10}}, 55},
        {"and shown again", [](widget& a, widget&) { a.set_visible(true); },
         {{5, 0, 40, 20}, {0, 20, 40, 45}, {0, 65, 40, 10}}, 75},
        {"a child only wider: no layout needed", [](widget& a, widget&) { a.set_rect({5, 0, 90, 20}, true); },
         {{5, 0, 90, 20}, {0, 20, 40, 45}, {0, 65, 40, 10}}, 75},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(a, b);
        EXPECT_EQ(rects_of({&a, &b, &c}), step.expected);
        EXPECT_EQ(panel.get_rect().height, step.panel_height);
    }
    // A removed child is no longer listed nor watched.
    panel.remove_child(&b);
    panel.layout();
    b.set_rect({0, 0, 40, 100}, true);
    EXPECT_EQ(rects_of({&a, &c}), (std::vector<rect>{{5, 0, 90, 20}, {0, 20, 40, 10}}));
    EXPECT_EQ(panel.get_rect().height, 30);
}

TEST_F(UiFlowPanel, SizesItsLayoutGivesAreNotTakenForTheChildrensOwn) {
    // Across a horizontal panel with fill_cross the children take the panel's height; those heights
    // come from the layout, so the children keep their own for when fill_cross is off again.
    flow_panel panel(flow_direction::horizontal, true);
    panel.set_fill_cross(true);
    panel.create(&root, {0, 0, 0, 50});
    widget a, b;
    a.create(&panel, {0, 0, 30, 10});
    b.create(&panel, {0, 0, 20, 15});
    panel.layout();
    EXPECT_EQ(rects_of({&a, &b}), (std::vector<rect>{{0, 0, 30, 50}, {30, 0, 20, 50}}));
    panel.set_rect({0, 0, 50, 80}, true);
    EXPECT_EQ(rects_of({&a, &b}), (std::vector<rect>{{0, 0, 30, 80}, {30, 0, 20, 80}}));
    panel.set_fill_cross(false);
    panel.layout();
    EXPECT_EQ(rects_of({&a, &b}), (std::vector<rect>{{0, 0, 30, 10}, {30, 0, 20, 15}}));
    EXPECT_EQ(panel.items().entries()[0].natural_height, 10);
}

// A panel that does not watch its children hears of none of their resizes: its owner calls layout, which
// starts from the sizes the children have now, while the sizes its own layouts gave stay the layout's.
TEST_F(UiFlowPanel, APanelThatDoesNotWatchLaysOutFromTheChildrensCurrentSizes) {
    flow_panel panel(flow_direction::vertical, false);
    panel.set_auto_size(false);
    panel.create(&root, {0, 0, 200, 100});
    widget head, tail;
    head.create(&panel, {0, 0, 200, 20});
    flow_panel row(flow_direction::horizontal, false);
    row.set_fill_parent(true);
    row.set_auto_size(false);
    row.create(&panel, {0, 0, 50, 30});
    tail.create(&panel, {0, 0, 200, 10});
    panel.layout();
    EXPECT_EQ(rects_of({&head, &row, &tail}), (std::vector<rect>{{0, 0, 200, 20}, {0, 20, 50, 70}, {0, 90, 200, 10}}));
    panel.layout();
    EXPECT_EQ(row.get_rect(), (rect{0, 20, 50, 70})) << "the stretched height is not taken for the row's own";

    head.set_rect({0, 0, 200, 40}, true);  // unheard: no layout yet
    tail.set_rect({0, 90, 200, 5}, true);
    EXPECT_EQ(row.get_rect().y, 20);
    panel.layout();
    EXPECT_EQ(rects_of({&head, &row, &tail}), (std::vector<rect>{{0, 0, 200, 40}, {0, 40, 50, 55}, {0, 95, 200, 5}}));

    row.set_rect({0, 40, 50, 10}, true);  // a size of its own, smaller than the share it was given
    panel.layout();
    EXPECT_EQ(rects_of({&head, &row, &tail}), (std::vector<rect>{{0, 0, 200, 40}, {0, 40, 50, 55}, {0, 95, 200, 5}}));
    EXPECT_EQ(panel.items().entries()[1].natural_height, 10);
}

TEST_F(UiFlowPanel, NestedPanelOfTheOtherDirectionStretchesAndFitsItsParent) {
    flow_panel outer(flow_direction::vertical, true);
    outer.set_auto_size(false);
    outer.create(&root, {0, 0, 200, 100});
    widget head;
    head.create(&outer, {0, 0, 200, 20});
    flow_panel row(flow_direction::horizontal, true);
    row.set_fill_parent(true);
    row.set_auto_size(false);
    row.create(&outer, {0, 0, 50, 30});
    EXPECT_TRUE(outer.has_stretch());
    // Fitted to the outer panel when attached, the row reaches its bottom; stacked below the head, it
    // takes what is left of the height.
    outer.layout();
    EXPECT_EQ(row.get_rect(), (rect{0, 20, 50, 80}));
    // Growing the outer panel grows the row with it, to the outer panel's bottom.
    outer.set_rect({0, 0, 200, 160}, true);
    EXPECT_EQ(row.get_rect(), (rect{0, 20, 50, 140}));
    outer.remove_child(&row);
    EXPECT_FALSE(outer.has_stretch());
}

TEST_F(UiFlowPanel, AChildAddedAgainOrAPanelAttachedAgainIsListedAndWiredOnce) {
    flow_panel panel(flow_direction::vertical, true);
    panel.create(&root, {0, 0, 100, 0});
    widget a, b;
    a.create(&panel, {0, 0, 40, 20});
    panel.add_child(&a);
    event_manager::instance().fire(&panel, event_id::attached, 2, 1, 0);
    b.create(&panel, {0, 0, 40, 30});
    panel.add_child(&b);
    ASSERT_EQ(panel.items().entries().size(), 2u);
    EXPECT_EQ(panel.items().entries()[0].target, &a);
    EXPECT_EQ(panel.items().entries()[1].target, &b);
    panel.layout();
    EXPECT_EQ(b.get_rect().y, 20);
    EXPECT_EQ(panel.get_rect().height, 50);
    // Removed once, the child is gone from the list and its watchers with it.
    panel.remove_child(&a);
    EXPECT_EQ(panel.items().entries().size(), 1u);
    a.set_rect({0, 0, 40, 90}, true);
    EXPECT_EQ(b.get_rect().y, 20);
}

}  // namespace
