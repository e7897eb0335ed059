#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "capture_widget.h"
#include "event_manager.h"
#include "pair_packing.h"
#include "tab_order.h"
#include "ui_test_support.h"
#include "widget.h"

namespace {

using namespace qssdk::ui;
using ui_test::address;
using ui_test::event_log;
using ui_test::logged_event;
using ui_test::test_host;

// A container that listens to its children's clicks and lets the base disconnect them on removal.
struct container : widget {
    void listen_to(widget& child) {
        track_child_connection(&child, event_manager::instance().connect(&child, this, event_id::clicked,
                                                                          [this](const event_info&) { ++clicks; }));
    }
    int clicks = 0;
};

void click(widget& w) { event_manager::instance().fire(&w, event_id::clicked, 2, 1, 0); }

class UiWidget : public testing::Test {
protected:
    UiWidget() {
        root.set_window(&host);
        root.initialize({0, 0, 400, 300});
    }

    test_host host;
    widget root;
};

TEST_F(UiWidget, StartsUncreatedInvisibleAndEnabled) {
    const widget fresh;
    EXPECT_FALSE(fresh.is_created());
    EXPECT_FALSE(fresh.is_visible(false));
    EXPECT_TRUE(fresh.is_enabled());
    EXPECT_TRUE(fresh.is_parent_visible());
    EXPECT_EQ(fresh.get_name(), "Widget");
    EXPECT_EQ(fresh.get_shadow().size, 20);
    EXPECT_EQ(fresh.get_window(), nullptr);
}

TEST_F(UiWidget, CreateFiresAttachedThenJoinsTheParent) {
    event_log log;
    widget child;
    log.watch_widget(&child);
    log.watch_widget(&root);
    child.create(&root, {10, 20, 50, 30});

    const std::vector<logged_event> expected = {
        {&child, event_id::shown, 0},           {&child, event_id::attached, 0},
        {&child, event_id::parent_changed, address(&root)}, {&child, event_id::parent_resized, 0},
        {&root, event_id::child_added, address(&child)},
    };
    EXPECT_EQ(log.events, expected);  // no 21: a new widget is enabled already
    EXPECT_EQ(child.get_parent(), &root);
    EXPECT_EQ(child.get_window(), &host);
    EXPECT_EQ(root.get_children(), std::vector<widget*>{&child});
    EXPECT_EQ(host.widgets, (std::vector<widget*>{&root, &child}));
    EXPECT_EQ(child.get_rect(), rect(10, 20, 50, 30));
    EXPECT_EQ(child.get_layout_rect(), rect(10, 20, 50, 30));
    EXPECT_TRUE(child.is_created());
    EXPECT_TRUE(child.is_visible(true));
}

TEST_F(UiWidget, InitializeTakesTheInheritedStatesFromTheParentChain) {
    widget hidden, inner, wired;
    hidden.create(&root, {0, 0, 10, 10});
    inner.create(&hidden, {0, 0, 5, 5});
    root.set_enabled(false);
    hidden.set_visible(false);
    wired.set_window(&host);
    wired.set_parent(&inner);
    wired.initialize({1, 1, 2, 2});
    EXPECT_FALSE(wired.is_parent_enabled());  // inner is enabled, but its parent chain is not
    EXPECT_FALSE(wired.is_parent_visible());
}

TEST_F(UiWidget, InheritedFlagsFollowTheOwnFlagsOfTheContainer) {
    event_log log;
    widget a, b, c;
    a.create(&root, {0, 0, 100, 100});
    b.create(&a, {0, 0, 50, 50});
    c.create(&b, {0, 0, 20, 20});
    log.watch_widget(&a);

    a.set_enabled(false);
    a.set_enabled(false);
    EXPECT_EQ(log.ids_of(&a), std::vector<event_id>{event_id::disabled});
    EXPECT_FALSE(b.is_parent_enabled());
    EXPECT_FALSE(c.is_parent_enabled());
    EXPECT_TRUE(b.is_enabled());

    root.set_enabled(false);
    a.set_enabled(true);
    EXPECT_FALSE(a.is_parent_enabled());
    EXPECT_TRUE(b.is_parent_enabled());  // direct children copy the container's own flag
    EXPECT_TRUE(c.is_parent_enabled());

    log.clear();
    a.set_visible(false);
    a.set_visible(false);
    EXPECT_EQ(log.ids_of(&a), std::vector<event_id>{event_id::hidden});
    EXPECT_FALSE(b.is_visible(true));
    EXPECT_TRUE(b.is_visible(false));
    EXPECT_FALSE(c.is_visible(true));
    a.set_visible(true);
    EXPECT_TRUE(c.is_visible(true));
}

// Boxes two levels deep: what a grandchild inherits is its parent's whole state, so a widget hidden or
// disabled inside a box that was hidden or disabled comes back exactly when both it and the chain do, and
// Tab reaches it only then.
TEST_F(UiWidget, GrandchildrenInheritTheStateOfTheirWholeChain) {
    widget outer, inner, button, other;
    outer.create(&root, {0, 0, 200, 200});
    inner.create(&outer, {0, 0, 100, 100});
    button.create(&inner, {0, 0, 20, 20});
    other.create(&root, {0, 150, 20, 20});
    for (widget* w : {&button, &other}) w->set_tab_stop(true);
    const auto tab_from_other = [&] { return next_tab_stop(host.widgets, &other); };

    const struct {
        const char* step;
        void (*change)(widget& outer, widget& inner, widget& button);
        bool shown, usable;
    } steps[] = {
        {"all shown", [](widget&, widget&, widget&) {}, true, true},
        {"the outer box hidden", [](widget& o, widget&, widget&) { o.set_visible(false); }, false, true},
        {"the button hidden meanwhile", [](widget&, widget&, widget& b) { b.set_visible(false); }, false, true},
        {"the outer box shown again", [](widget& o, widget&, widget&) { o.set_visible(true); }, false, true},
        // The installer's custom-path line: hidden itself while its page was hidden, shown later.
        {"the button shown", [](widget&, widget&, widget& b) { b.set_visible(true); }, true, true},
        {"the inner box hidden", [](widget&, widget& i, widget&) { i.set_visible(false); }, false, true},
        {"the outer box hidden and shown", [](widget& o, widget&, widget&) { o.set_visible(false); o.set_visible(true); },
         false, true},
        {"the inner box shown", [](widget&, widget& i, widget&) { i.set_visible(true); }, true, true},
        {"the inner box disabled", [](widget&, widget& i, widget&) { i.set_enabled(false); }, true, false},
        {"the outer box disabled and enabled", [](widget& o, widget&, widget&) { o.set_enabled(false); o.set_enabled(true); },
         true, false},
        {"the inner box enabled", [](widget&, widget& i, widget&) { i.set_enabled(true); }, true, true},
        {"the outer box disabled", [](widget& o, widget&, widget&) { o.set_enabled(false); }, true, false},
        {"the button disabled meanwhile", [](widget&, widget&, widget& b) { b.set_enabled(false); }, true, false},
        {"the outer box enabled", [](widget& o, widget&, widget&) { o.set_enabled(true); }, true, false},
        {"the button enabled", [](widget&, widget&, widget& b) { b.set_enabled(true); }, true, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.change(outer, inner, button);
        EXPECT_EQ(button.is_visible(true), s.shown);
        EXPECT_EQ(button.is_enabled() && button.is_parent_enabled(), s.usable);
        EXPECT_EQ(takes_tab_focus(button), s.shown && s.usable);
        EXPECT_EQ(tab_from_other(), s.shown && s.usable ? &button : &other);
    }
}

TEST_F(UiWidget, RemovingAChildResetsItsInheritedFlagsDisconnectsTheContainerAndDoesNotRepaint) {
    event_log log;
    container box;
    widget child, grandchild;
    box.create(&root, {0, 0, 100, 100});
    child.create(&box, {0, 0, 50, 50});
    grandchild.create(&child, {0, 0, 10, 10});
    box.listen_to(child);
    box.set_visible(false);
    box.set_enabled(false);
    child.set_enabled(false);
    log.watch(&box, event_id::child_removed);
    click(child);
    host.invalidated.clear();

    box.remove_child(&child);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&box, event_id::child_removed, address(&child)}}));
    EXPECT_TRUE(box.get_children().empty());
    EXPECT_EQ(child.get_parent(), nullptr);
    EXPECT_TRUE(child.is_parent_visible());
    EXPECT_TRUE(child.is_parent_enabled());
    EXPECT_FALSE(grandchild.is_parent_enabled());  // from the removed child's own flag
    EXPECT_TRUE(host.invalidated.empty());
    click(child);
    EXPECT_EQ(box.clicks, 1);
}

TEST_F(UiWidget, RemoveAllChildrenDetachesEachOnceWhileHandlersChangeTheList) {
    // Outlives the widgets: `late` leaves the box when it is destroyed, and the handler records that too.
    std::vector<uint64_t> removed;
    container box;
    widget a, c, d, late;
    std::optional<widget> b(std::in_place);
    box.create(&root, {0, 0, 100, 100});
    for (widget* w : {&a, &*b, &c, &d}) {
        w->create(&box, {0, 0, 10, 10});
        box.listen_to(*w);
    }
    event_manager::instance().connect(&box, &box, event_id::child_removed, [&](const event_info& e) {
        removed.push_back(e.value);
        if (e.value != address(&a)) return;
        b.reset();              // destroyed while the list is being emptied
        box.remove_child(&c);  // removed again from inside
        late.create(&box, {0, 0, 10, 10});
    });
    const uint64_t b_address = address(&*b);

    box.remove_all_children();
    EXPECT_EQ(removed, (std::vector<uint64_t>{address(&a), b_address, address(&c), address(&d)}));
    EXPECT_EQ(box.get_children(), std::vector<widget*>{&late});  // added by the handler, kept
    for (widget* w : {&a, &c, &d}) {
        EXPECT_EQ(w->get_parent(), nullptr);
        click(*w);
    }
    EXPECT_EQ(box.clicks, 0);
}

TEST_F(UiWidget, MovingAChildToAnotherParentTakesItOutOfTheFormerOne) {
    event_log log;
    widget first, second, child;
    first.create(&root, {0, 0, 10, 10});
    second.create(&root, {0, 0, 10, 10});
    child.create(&first, {0, 0, 5, 5});
    log.watch(&first, event_id::child_removed);
    second.add_child(&child);
    EXPECT_EQ(log.events.size(), 1u);
    EXPECT_TRUE(first.get_children().empty());
    EXPECT_EQ(second.get_children(), std::vector<widget*>{&child});
    EXPECT_EQ(child.get_parent(), &second);
}

TEST_F(UiWidget, TheSameRectChangesNothing) {
    event_log log;
    widget w, child;
    w.create(&root, {10, 10, 100, 50});
    child.create(&w, {0, 0, 10, 10});
    log.watch_widget(&w);
    log.watch_widget(&child);
    host.invalidated.clear();
    w.set_rect(w.get_rect(), true);
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(host.invalidated.empty());
}

TEST_F(UiWidget, AMoveFiresMovedWithTheOldPositionAndDoesNotReanchor) {
    event_log log;
    widget w, child;
    w.create(&root, {10, 20, 100, 50});
    child.create(&w, {5, 5, 10, 10});
    child.set_anchors({.right = true, .right_margin = 30});
    log.watch_widget(&w);
    log.watch_widget(&child);
    host.invalidated.clear();

    w.set_rect({40, 60, 100, 50}, false);
    const std::vector<logged_event> expected = {
        {&w, event_id::moved, pack_pair(10, 20)},
        {&child, event_id::parent_moved, pack_pair(10, 20)},
    };
    EXPECT_EQ(log.events, expected);
    EXPECT_EQ(child.get_rect(), rect(5, 5, 10, 10));
    EXPECT_EQ(w.get_layout_rect(), rect(10, 20, 100, 50));  // only set_rect(r, true) moves the base rect
    EXPECT_EQ(host.invalidated, (std::vector<edges>{{10, 20, 110, 70}, {40, 60, 140, 110}}));
}

TEST_F(UiWidget, AResizeReanchorsChildrenAndTheirChildren) {
    event_log log;
    widget panel, stretched, right, tall, grandchild;
    panel.create(&root, {0, 0, 200, 100});
    stretched.create(&panel, {10, 10, 170, 20});
    stretched.set_anchors({.left = true, .left_margin = 10, .right = true, .right_margin = 20});
    right.create(&panel, {165, 40, 30, 10});
    right.set_anchors({.right = true, .right_margin = 5});
    tall.create(&panel, {0, 0, 10, 10});
    tall.set_anchors({.top = true, .top_margin = 4, .bottom = true, .bottom_margin = 6});
    grandchild.create(&stretched, {0, 0, 150, 10});
    grandchild.set_anchors({.left = true, .left_margin = 2, .right = true, .right_margin = 3});
    for (widget* w : {&panel, &stretched, &grandchild}) log.watch(w, {event_id::resized, event_id::parent_resized});

    panel.set_layout_rect({0, 0, 300, 150});
    EXPECT_EQ(stretched.get_rect(), rect(10, 10, 270, 20));
    EXPECT_EQ(stretched.get_layout_rect(), rect(10, 10, 170, 20));
    EXPECT_EQ(right.get_rect(), rect(265, 40, 30, 10));
    EXPECT_EQ(tall.get_rect(), rect(0, 4, 10, 140));
    EXPECT_EQ(grandchild.get_rect(), rect(2, 0, 265, 10));  // follows its anchored parent

    const std::vector<logged_event> expected = {
        {&panel, event_id::resized, pack_pair(200, 100)},
        {&stretched, event_id::parent_resized, pack_pair(200, 100)},
        {&stretched, event_id::resized, pack_pair(170, 20)},
        {&grandchild, event_id::parent_resized, pack_pair(170, 20)},
        {&grandchild, event_id::resized, pack_pair(150, 10)},
    };
    EXPECT_EQ(log.events, expected);
}

TEST_F(UiWidget, ChildrenRemovedByAResizeHandlerAreSkipped) {
    widget panel, first, third;
    std::optional<widget> second(std::in_place);
    panel.create(&root, {0, 0, 100, 100});
    for (widget* w : {&first, &*second, &third}) w->create(&panel, {0, 0, 10, 10});
    std::vector<uint64_t> told;
    for (widget* w : {&first, &*second, &third})
        event_manager::instance().connect(w, &panel, event_id::parent_resized, [&](const event_info& e) {
            told.push_back(address(e.source));
            if (e.source == &first) second.reset();
        });
    panel.set_rect({0, 0, 120, 100}, true);
    EXPECT_EQ(told, (std::vector<uint64_t>{address(&first), address(&third)}));
}

TEST_F(UiWidget, NothingHappensBeforeCreation) {
    event_log log;
    widget w;
    log.watch_widget(&w);
    w.set_window(&host);
    w.set_rect({1, 2, 3, 4}, true);
    w.redraw(true);
    EXPECT_EQ(w.get_rect(), rect(1, 2, 3, 4));
    EXPECT_TRUE(log.events.empty());
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_EQ(host.updates, 0);
}

TEST_F(UiWidget, TheVisibleRectIsClippedByEveryAncestor) {
    widget panel, child, loose;
    panel.create(&root, {100, 50, 100, 100});
    child.create(&panel, {80, -10, 50, 50});
    EXPECT_EQ(child.get_visible_rect(child.get_rect()), (edges{180, 50, 200, 90}));
    EXPECT_EQ(panel.get_visible_rect({350, 250, 100, 100}), (edges{350, 250, 400, 300}));
    EXPECT_EQ(loose.get_visible_rect({-5, 5, 10, 20}), (edges{-5, 5, 5, 25}));

    host.invalidated.clear();
    child.redraw(false);
    EXPECT_EQ(host.invalidated, (std::vector<edges>{{180, 50, 200, 90}}));
    EXPECT_EQ(host.updates, 0);
    child.redraw(true);
    EXPECT_EQ(host.updates, 1);

    host.invalidated.clear();
    child.set_rect({0, 0, 0, 10}, true);  // an empty rect is not repainted, the old one is
    EXPECT_EQ(host.invalidated, (std::vector<edges>{{180, 50, 200, 90}}));
}

TEST_F(UiWidget, TheBackgroundColourIsAnOwnStyleValue) {
    event_log log;
    widget w;
    w.create(&root, {0, 0, 10, 10});
    log.watch(&w, event_id::style_changed);
    host.invalidated.clear();
    w.set_background_color(color(0.0f));
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(log.events[0].value), "default_back_color");
    EXPECT_EQ(w.get_style().get("default_back_color").color, color(0.0f));
    EXPECT_EQ(host.invalidated.size(), 1u);

    w.set_visible(false);
    host.invalidated.clear();
    w.set_background_color(color(1.0f));
    EXPECT_TRUE(host.invalidated.empty());
}

TEST_F(UiWidget, DestructionLeavesTheTreeTheWindowAndTheCapture) {
    event_log log;
    widget child;
    auto w = std::make_unique<widget>();
    w->create(&root, {0, 0, 50, 50});
    child.create(w.get(), {0, 0, 10, 10});
    widget* gone = w.get();
    int root_clicks = 0;
    event_manager::instance().connect(&root, gone, event_id::clicked, [&](const event_info&) { ++root_clicks; });
    log.watch(&root, event_id::child_removed);
    log.watch(gone, event_id::destroyed);
    set_capture_widget(gone);

    w.reset();
    const std::vector<logged_event> expected = {
        {&root, event_id::child_removed, address(gone)},
        {gone, event_id::destroyed, 0},
    };
    EXPECT_EQ(log.events, expected);
    EXPECT_EQ(host.forgotten, std::vector<widget*>{gone});
    EXPECT_EQ(host.widgets, (std::vector<widget*>{&root, &child}));
    EXPECT_EQ(capture_widget(), nullptr);
    EXPECT_TRUE(root.get_children().empty());
    EXPECT_EQ(child.get_parent(), nullptr);
    click(root);
    EXPECT_EQ(root_clicks, 0);

    // Another widget's capture is left alone.
    set_capture_widget(&child);
    { widget other; }
    EXPECT_EQ(capture_widget(), &child);
    set_capture_widget(nullptr);
}

}  // namespace
