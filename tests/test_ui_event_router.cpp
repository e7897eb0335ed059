// Routing of a window's events to its widgets, the hit test and the Tab order, with the cursor and the
// Shift key injected.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

#include "capture_widget.h"
#include "event_router.h"
#include "pair_packing.h"
#include "tab_order.h"
#include "ui_test_support.h"
#include "widget_hit_test.h"

namespace {

using namespace qssdk::ui;
using ui_test::event_log;
using ui_test::logged_event;

struct injected_input : event_router::environment {
    point cursor_position() const override { return cursor; }
    bool shift_down() const override { return shift; }
    point cursor;
    bool shift = false;
};

// A window stand-in whose widget list is the router's, as the kit's window keeps it.
struct routed_host : ui_test::test_host {
    void add_widget(widget* w) override { router->add_widget(w); }
    void forget_widget(widget* w) override { router->forget_widget(w); }
    event_router* router = nullptr;
};

struct window_stand_in : event_object {};

// root 400 x 300 holding a {10, 10, 100, 100} with c {5, 5, 20, 20} inside, b {50, 50, 100, 100} above a,
// e {300, 0, 50, 50} and the hidden d over e.
class UiEventRouter : public testing::Test {
protected:
    UiEventRouter() : router(window, root, input) {
        host.router = &router;
        root.set_window(&host);
        root.initialize({0, 0, 400, 300});
        a.create(&root, {10, 10, 100, 100});
        c.create(&a, {5, 5, 20, 20});
        b.create(&root, {50, 50, 100, 100});
        e.create(&root, {300, 0, 50, 50});
        d.create(&root, {300, 0, 50, 50});
        d.set_visible(false);
    }
    ~UiEventRouter() override { set_capture_widget(nullptr); }

    void watch_routed(event_log& log) {
        for (event_object* o : std::vector<event_object*>{&window, &root, &a, &b, &c, &d, &e})
            log.watch(o, {event_id::mouse_up, event_id::mouse_down, event_id::double_click, event_id::mouse_enter,
                          event_id::mouse_leave, event_id::mouse_move, event_id::key_down, event_id::key_down_raw,
                          event_id::key_up, event_id::character, event_id::resized, event_id::focus_gained,
                          event_id::focus_lost, event_id::files_dropped, event_id::ime, event_id::session_locked,
                          event_id::session_unlocked, event_id::timer});
    }
    void move_to(int32_t x, int32_t y) { input.cursor = {x, y}; }

    window_stand_in window;
    injected_input input;
    routed_host host;
    // The router outlives the root, which leaves its list when destroyed.
    event_router router;
    widget root;
    widget a, b, c, d, e;
};

TEST_F(UiEventRouter, WidgetAtFindsTheTopmostShownWidget) {
    const struct {
        point p;
        const widget* expected;
    } cases[] = {
        {{0, 0}, &root},   {{399, 299}, &root}, {{400, 0}, nullptr}, {{0, 300}, nullptr}, {{-1, 5}, nullptr},
        {{15, 15}, &c},    {{34, 34}, &c},      {{35, 15}, &a},      {{60, 60}, &b},      {{109, 20}, &a},
        {{110, 20}, &root}, {{149, 149}, &b},   {{310, 10}, &e},     {{350, 10}, &root},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "at " << k.p.x << ", " << k.p.y);
        EXPECT_EQ(widget_at(root, k.p), k.expected);
    }
    root.set_visible(false);
    EXPECT_EQ(widget_at(root, {15, 15}), nullptr);
}

TEST_F(UiEventRouter, CursorRelativeToAWidgetLeavesTheRootPositionOut) {
    root.set_rect({7, 9, 400, 300}, true);
    EXPECT_EQ(relative_to_widget({20, 22}, c), (point{5, 7}));
    EXPECT_EQ(relative_to_widget({20, 22}, a), (point{10, 12}));
    EXPECT_EQ(relative_to_widget({20, 22}, root), (point{20, 22}));
}

TEST(UiTabOrder, TabAndShiftTabSkipWhatCannotTakeTheFocus) {
    ui_test::test_host host;
    widget root, a, b, c, d, e;
    root.set_window(&host);
    root.initialize({0, 0, 100, 100});
    for (widget* w : {&a, &b, &c, &d, &e}) w->create(&root, {0, 0, 10, 10});
    for (widget* w : {&a, &b, &d, &e}) w->set_tab_stop(true);
    b.set_enabled(false);
    d.set_visible(false);
    const std::vector<widget*> order{&root, &a, &b, &c, &d, &e};
    const struct {
        widget* focus;
        widget* next;
        widget* previous;
    } cases[] = {
        {&root, &a, &e}, {&a, &e, &e}, {&e, &a, &a}, {&c, &e, &a}, {&b, &e, &a}, {nullptr, &a, &e},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "from entry "
                                        << (std::find(order.begin(), order.end(), k.focus) - order.begin()));
        EXPECT_EQ(next_tab_stop(order, k.focus), k.next);
        EXPECT_EQ(previous_tab_stop(order, k.focus), k.previous);
    }
    // Shift+Tab from a widget without a tab stop reaches the nearest tab stop before it.
    EXPECT_EQ(previous_tab_stop({&root, &a, &c}, &c), &a);
    // A single tab stop keeps the focus; so does a list where nothing qualifies.
    EXPECT_EQ(next_tab_stop({&root, &a}, &a), &a);
    EXPECT_EQ(previous_tab_stop({&root, &c}, &root), &root);
}

TEST_F(UiEventRouter, EachEventReachesItsReceivers) {
    // The cursor over c, the focus on b; d (hidden) and the disabled e never receive anything.
    event_log log;
    watch_routed(log);
    e.set_enabled(false);
    const uint64_t raw = pack_pair(0x41, 0x1E0001);
    const struct {
        event_id id;
        uint64_t value;
        std::vector<logged_event> expected;
    } cases[] = {
        {event_id::key_down, 0x41, {{&b, event_id::key_down, 0x41}, {&window, event_id::key_down, 0x41}}},
        {event_id::key_down_raw, raw, {{&b, event_id::key_down_raw, raw}, {&window, event_id::key_down_raw, raw}}},
        {event_id::key_up, 0x41, {{&b, event_id::key_up, 0x41}, {&window, event_id::key_up, 0x41}}},
        {event_id::character, 'x', {{&b, event_id::character, 'x'}, {&window, event_id::character, 'x'}}},
        {event_id::focus_gained, 5, {{&b, event_id::focus_gained, 0}, {&window, event_id::focus_gained, 0}}},
        {event_id::focus_lost, 5, {{&b, event_id::focus_lost, 0}, {&window, event_id::focus_lost, 0}}},
        {event_id::ime, 1, {{&b, event_id::ime, 1}}},
        {event_id::files_dropped, 0x1234, {{&c, event_id::files_dropped, 0x1234}}},
        {event_id::session_locked, 9, {{&window, event_id::session_locked, 0}}},
        {event_id::session_unlocked, 9, {{&window, event_id::session_unlocked, 0}}},
        {event_id::mouse_up, 2, {{&c, event_id::mouse_up, 2}, {&window, event_id::mouse_up, 2}}},
        {event_id::timer, 1, {}},
        {static_cast<event_id>(46), 1, {}},
    };
    move_to(20, 20);
    router.set_focus_widget(&b, 0);
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "event " << static_cast<uint32_t>(k.id));
        log.clear();
        router.dispatch(k.id, k.value);
        EXPECT_EQ(log.events, k.expected);
    }
    // Over a disabled widget a release reaches the window alone.
    move_to(310, 10);
    log.clear();
    router.dispatch(event_id::mouse_up, 0);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&window, event_id::mouse_up, 0}}));
}

TEST_F(UiEventRouter, PressFocusesTheWidgetUnderTheCursor) {
    event_log log;
    watch_routed(log);
    move_to(60, 60);
    router.dispatch(event_id::mouse_down, 2);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&root, event_id::focus_lost, 0},
                                                     {&b, event_id::focus_gained, 0},
                                                     {&b, event_id::mouse_down, 2},
                                                     {&window, event_id::mouse_down, 2}}));
    EXPECT_EQ(router.focus_widget(), &b);
    // A disabled widget takes neither the focus nor the press.
    a.set_enabled(false);
    move_to(20, 20);
    log.clear();
    router.dispatch(event_id::mouse_down, 0);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&window, event_id::mouse_down, 0}}));
    EXPECT_EQ(router.focus_widget(), &b);
}

TEST_F(UiEventRouter, OnlyAReleaseAfterADoubleClickEventIsSwallowed) {
    event_log log;
    watch_routed(log);
    move_to(60, 60);
    // The double click went out as such: the release after it is eaten, the next one is not.
    router.dispatch(event_id::double_click, 0);
    router.dispatch(event_id::mouse_up, 0);
    EXPECT_EQ(log.ids_of(&b), (std::vector<event_id>{event_id::focus_gained, event_id::double_click}));
    log.clear();
    router.dispatch(event_id::mouse_up, 0);
    EXPECT_EQ(log.ids_of(&b), std::vector<event_id>{event_id::mouse_up});
    // A double click sent on as a second press leaves its release to the widget.
    log.clear();
    router.dispatch(event_id::mouse_down, 0);
    router.dispatch(event_id::mouse_down, 0);
    router.dispatch(event_id::mouse_up, 0);
    EXPECT_EQ(log.ids_of(&b), (std::vector<event_id>{event_id::mouse_down, event_id::mouse_down, event_id::mouse_up}));
    EXPECT_EQ(log.ids_of(&window),
              (std::vector<event_id>{event_id::mouse_down, event_id::mouse_down, event_id::mouse_up}));
}

TEST_F(UiEventRouter, HoverEntersLeavesAndEntersAgainAfterTheMouseLeftTheWindow) {
    event_log log;
    watch_routed(log);
    move_to(20, 20);
    router.dispatch(event_id::mouse_move, 0);
    router.dispatch(event_id::mouse_move, 0);
    move_to(60, 60);
    router.dispatch(event_id::mouse_move, 0);
    router.dispatch(event_id::mouse_leave, 0);
    EXPECT_EQ(router.hover_widget(), nullptr);
    router.dispatch(event_id::mouse_move, 0);
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&c, event_id::mouse_enter, 0},
                                                     {&window, event_id::mouse_move, 0},
                                                     {&c, event_id::mouse_move, 0},
                                                     {&window, event_id::mouse_move, 0},
                                                     {&c, event_id::mouse_leave, 0},
                                                     {&b, event_id::mouse_enter, 0},
                                                     {&window, event_id::mouse_move, 0},
                                                     {&b, event_id::mouse_leave, 0},
                                                     {&b, event_id::mouse_enter, 0},
                                                     {&window, event_id::mouse_move, 0}}));
}

TEST_F(UiEventRouter, TheCaptureWidgetAloneGetsMovesAndTheRelease) {
    event_log log;
    watch_routed(log);
    set_capture_widget(&c);
    move_to(390, 290);  // far outside c
    router.dispatch(event_id::mouse_move, 0);
    router.dispatch(event_id::mouse_up, 0);
    EXPECT_EQ(log.events,
              (std::vector<logged_event>{{&c, event_id::mouse_move, 0}, {&c, event_id::mouse_up, 0}}));
    // A press still goes where the cursor is.
    log.clear();
    router.dispatch(event_id::mouse_down, 0);
    EXPECT_EQ(log.ids_of(&root), (std::vector<event_id>{event_id::mouse_down}));
}

TEST_F(UiEventRouter, WheelGoesUpToTheFirstWidgetWithAHandler) {
    std::vector<const event_object*> turned;
    const auto listen = [&](widget& w) {
        event_manager::instance().connect(&w, &w, event_id::mouse_wheel,
                                          [&](const event_info& e) { turned.push_back(e.source); });
    };
    listen(a);
    listen(root);
    event_log log;
    log.watch(&window, event_id::mouse_wheel);
    const uint64_t notch = std::bit_cast<uint64_t>(60.0);
    move_to(20, 20);  // over c, which has no handler: a takes it
    router.dispatch(event_id::mouse_wheel, notch);
    a.set_enabled(false);  // a and c unusable: the root takes it
    router.dispatch(event_id::mouse_wheel, notch);
    EXPECT_EQ(turned, (std::vector<const event_object*>{&a, &root}));
    EXPECT_TRUE(log.events.empty());
}

TEST_F(UiEventRouter, TabMovesTheFocusAndTheWindowStillGetsTheCharacter) {
    a.set_tab_stop(true);
    b.set_tab_stop(true);
    event_log log;
    watch_routed(log);
    router.dispatch(event_id::character, '\t');
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&root, event_id::focus_lost, 1},
                                                     {&a, event_id::focus_gained, 1},
                                                     {&window, event_id::character, '\t'}}));
    log.clear();
    input.shift = true;
    router.dispatch(event_id::character, '\t');
    EXPECT_EQ(router.focus_widget(), &b);  // wrapped backwards from a
    // With Tab navigation off, the character goes to the focus widget.
    router.set_tab_navigation(false);
    log.clear();
    router.dispatch(event_id::character, '\t');
    EXPECT_EQ(log.events,
              (std::vector<logged_event>{{&b, event_id::character, '\t'}, {&window, event_id::character, '\t'}}));
}

TEST_F(UiEventRouter, TabWithNothingToFocusFiresOnlyTheCharacter) {
    event_log log;
    watch_routed(log);
    router.dispatch(event_id::character, '\t');
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&window, event_id::character, '\t'}}));
    EXPECT_EQ(router.focus_widget(), &root);
}

TEST_F(UiEventRouter, ResizeSizesTheRootAndTellsTheWindow) {
    event_log log;
    watch_routed(log);
    router.dispatch(event_id::resized, pack_pair(640, 480));
    EXPECT_EQ(root.get_rect(), (rect{0, 0, 640, 480}));
    EXPECT_EQ(root.get_layout_rect(), (rect{0, 0, 640, 480}));
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&root, event_id::resized, pack_pair(400, 300)},
                                                     {&window, event_id::resized, 0}}));
}

TEST_F(UiEventRouter, ADestroyedWidgetLeavesTheListFocusAndHover) {
    {
        widget gone;
        gone.create(&root, {200, 200, 10, 10});
        move_to(205, 205);
        router.dispatch(event_id::mouse_move, 0);
        router.dispatch(event_id::mouse_down, 0);
        ASSERT_EQ(router.focus_widget(), &gone);
        ASSERT_EQ(router.hover_widget(), &gone);
    }
    EXPECT_EQ(router.focus_widget(), nullptr);
    EXPECT_EQ(router.hover_widget(), nullptr);
    EXPECT_EQ(router.widgets(), (std::vector<widget*>{&root, &a, &c, &b, &e, &d}));
}

}  // namespace
