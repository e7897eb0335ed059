#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "cursor_table.h"
#include "timer_table.h"
#include "ui_test_support.h"
#include "widget.h"

namespace {

using namespace qssdk::ui;
using ui_test::event_log;
using ui_test::logged_event;

struct recording_service : timer_service {
    void start(uint32_t id, uint32_t period_ms) override { started.emplace_back(id, period_ms); }
    void stop(uint32_t id) override { stopped.push_back(id); }

    std::vector<std::pair<uint32_t, uint32_t>> started;
    std::vector<uint32_t> stopped;
};

// A window stand-in that drops a destroyed widget's timers, as the kit's window does.
struct forgetting_host : ui_test::test_host {
    explicit forgetting_host(timer_table& t) : timers(t) {}
    void forget_widget(widget* w) override {
        timers.forget(w);
        test_host::forget_widget(w);
    }
    timer_table& timers;
};

class UiTimerTable : public testing::Test {
protected:
    recording_service service;
    timer_table timers{service};
    event_log log;
};

TEST_F(UiTimerTable, OneTimerPerObjectWithIdsFromOneAndANewIdAfterRemoval) {
    widget a, b;
    timers.add(&a);
    timers.add(&a);
    timers.add(&b);
    using started = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(service.started, (started{{1, 200}, {2, 200}}));

    timers.remove(&a, widget_timer_kind);
    timers.remove(&a, widget_timer_kind);  // gone already: nothing
    timers.remove(&b, 2);                  // no timer of that kind
    EXPECT_EQ(service.stopped, std::vector<uint32_t>{1});

    timers.add(&a);
    EXPECT_EQ(service.started.back(), std::make_pair(3u, 200u));
}

TEST_F(UiTimerTable, ATickFiresTheTimerEventWithTheKindOnItsObjectAndUnknownIdsAreIgnored) {
    widget a, b;
    log.watch(&a, event_id::timer);
    log.watch(&b, event_id::timer);
    timers.add(&a);
    timers.add(&b);

    EXPECT_TRUE(timers.on_timer(2));
    EXPECT_FALSE(timers.on_timer(7));
    EXPECT_FALSE(timers.on_timer(tooltip_timer_id));  // the window's own tick, not a table timer
    EXPECT_EQ(log.events, (std::vector<logged_event>{{&b, event_id::timer, widget_timer_kind}}));
}

TEST_F(UiTimerTable, AHandlerMayRemoveItsOwnTimerDuringTheTick) {
    widget a;
    event_manager::instance().connect(&a, &log, event_id::timer,
                                      [&](const event_info&) { timers.remove(&a, widget_timer_kind); });
    timers.add(&a);
    EXPECT_TRUE(timers.on_timer(1));
    EXPECT_FALSE(timers.on_timer(1));
    EXPECT_EQ(service.stopped, std::vector<uint32_t>{1});
}

TEST_F(UiTimerTable, ADestroyedWidgetsTimerReachesNeitherItNorANewWidgetAtItsAddress) {
    forgetting_host host(timers);
    widget root;
    root.set_window(&host);
    root.initialize({0, 0, 100, 100});
    std::optional<widget> child(std::in_place);
    child->create(&root, {0, 0, 10, 10});
    const widget* old_address = &*child;
    timers.add(&*child);
    timers.add(&root);

    child.reset();
    EXPECT_EQ(service.stopped, std::vector<uint32_t>{1});
    child.emplace();
    ASSERT_EQ(&*child, old_address);
    log.watch(&*child, event_id::timer);
    EXPECT_FALSE(timers.on_timer(1));
    EXPECT_TRUE(log.events.empty());

    timers.add(&*child);  // the newcomer gets a timer of its own
    EXPECT_EQ(service.started.back().first, 3u);
    EXPECT_TRUE(timers.on_timer(2));  // the root's timer is untouched
}

// The cursor table loads nothing until its first use, then every system cursor once.
std::vector<uint16_t> loaded_ids;
cursor_table::handle counting_loader(uint16_t id) {
    loaded_ids.push_back(id);
    return reinterpret_cast<cursor_table::handle>(static_cast<uintptr_t>(id));
}

TEST(UiCursorTable, LoadsTheNineSystemCursorsOnFirstUseOnly) {
    loaded_ids.clear();
    cursor_table table(counting_loader);
    EXPECT_TRUE(loaded_ids.empty());
    EXPECT_EQ(table.get(cursor_index::hand), reinterpret_cast<cursor_table::handle>(uintptr_t{32649}));
    EXPECT_EQ(loaded_ids, (std::vector<uint16_t>{32512, 32515, 32644, 32645, 32642, 32513, 32649, 32642, 32643}));
    EXPECT_EQ(table.get(cursor_index::size_grip), table.get(cursor_index::size_nwse));
    EXPECT_EQ(table.get(cursor_table::count), nullptr);
    EXPECT_EQ(loaded_ids.size(), cursor_table::count);
}

}  // namespace
