#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "event_binding.h"
#include "event_manager.h"
#include "event_object.h"

namespace {

using namespace qssdk::ui;

struct probe : event_object {};

event_manager& events() { return event_manager::instance(); }

// Connects a handler that appends tag to calls, owned by owner.
uint32_t connect_tag(probe& source, probe& owner, event_id id, std::vector<std::string>& calls, std::string tag) {
    return events().connect(&source, &owner, id, [&calls, tag](const event_info&) { calls.push_back(tag); });
}

// Run in a fresh process: it exits with 0 when the ids there were 0, 1, 2.
void connect_first_three_and_exit() {
    probe a, b;
    const uint32_t first = events().connect(&a, &a, event_id::paint, [](const event_info&) {});
    const uint32_t second = events().connect(&a, &b, event_id::paint, [](const event_info&) {});
    events().disconnect(first);
    const uint32_t third = events().connect(&b, &b, event_id::clicked, [](const event_info&) {});
    std::exit(first == 0 && second == 1 && third == 2 ? 0 : 1);
}

TEST(UiEventManager, TheFirstConnectionOfARunGetsIdZeroAndIdsCountUp) {
    // Whatever other tests of this program connected does not count in the child process.
    EXPECT_EXIT(connect_first_three_and_exit(), testing::ExitedWithCode(0), "");
}

TEST(UiEventManager, CallsHandlersInConnectionOrderWithTheEventRecord) {
    probe source, owner;
    std::vector<std::string> calls;
    event_info seen;
    connect_tag(source, owner, event_id::clicked, calls, "first");
    events().connect(&source, &owner, event_id::clicked, [&](const event_info& e) {
        calls.push_back("second");
        seen = e;
    });
    connect_tag(source, owner, event_id::clicked, calls, "third");
    connect_tag(source, owner, event_id::paint, calls, "other id");

    EXPECT_TRUE(events().fire(&source, event_id::clicked, 0, 0, 0x1234567890abcdefull));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(seen.source, &source);
    EXPECT_EQ(seen.id, 38u);
    EXPECT_EQ(seen.phase, 0u);
    EXPECT_EQ(seen.flag, 0u);
    EXPECT_EQ(seen.value, 0x1234567890abcdefull);
}

TEST(UiEventManager, FireAnswersWhetherAHandlerListExists) {
    probe source, owner;
    EXPECT_FALSE(events().fire(&source, event_id::clicked, 2, 1, 0));
    EXPECT_FALSE(events().has_handler_list(&source, event_id::clicked));

    std::vector<std::string> calls;
    const uint32_t id = connect_tag(source, owner, event_id::clicked, calls, "h");
    EXPECT_FALSE(events().fire(&source, event_id::paint, 2, 1, 0));
    EXPECT_TRUE(events().has_handler_list(&source, event_id::clicked));

    // A list emptied by disconnect still counts as present.
    events().disconnect(id);
    EXPECT_TRUE(events().fire(&source, event_id::clicked, 2, 1, 0));
    EXPECT_TRUE(events().has_handler_list(&source, event_id::clicked));
    EXPECT_TRUE(calls.empty());
}

TEST(UiEventManager, DisconnectingTwiceOrAnUnknownIdDoesNothing) {
    probe source, owner;
    std::vector<std::string> calls;
    const uint32_t gone = connect_tag(source, owner, event_id::clicked, calls, "gone");
    connect_tag(source, owner, event_id::clicked, calls, "kept");
    events().disconnect(gone);
    events().disconnect(gone);
    events().disconnect(0xfffffff0u);
    events().fire(&source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"kept"});
}

TEST(UiEventManager, AHandlerDisconnectedDuringFireIsNotCalledAndANewOneWaitsForTheNextFire) {
    probe source, owner;
    std::vector<std::string> calls;
    uint32_t second = 0;
    events().connect(&source, &owner, event_id::clicked, [&](const event_info&) {
        calls.push_back("first");
        events().disconnect(second);
        connect_tag(source, owner, event_id::clicked, calls, "late");
    });
    second = connect_tag(source, owner, event_id::clicked, calls, "second");

    events().fire(&source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    calls.clear();
    events().fire(&source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "late"}));
}

TEST(UiEventManager, AHandlerDisconnectingItselfRunsToItsEnd) {
    probe source, owner;
    int runs = 0;
    std::string text = "kept alive";
    uint32_t self = 0;
    self = events().connect(&source, &owner, event_id::clicked, [&, text](const event_info&) {
        events().disconnect(self);
        ++runs;
        EXPECT_EQ(text, "kept alive");  // the running handler's captures survive its disconnection
    });
    events().fire(&source, event_id::clicked, 2, 1, 0);
    events().fire(&source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(runs, 1);
}

TEST(UiEventManager, DestroyingAnObjectRemovesItsConnectionsBothWays) {
    probe source, survivor;
    std::vector<std::string> calls;
    std::optional<probe> owner(std::in_place);
    std::optional<probe> dropped_source(std::in_place);
    connect_tag(source, *owner, event_id::clicked, calls, "owned by the destroyed object");
    connect_tag(source, survivor, event_id::clicked, calls, "owned by the survivor");
    const uint32_t listening = connect_tag(*dropped_source, survivor, event_id::clicked, calls, "on a dead source");
    connect_tag(*dropped_source, survivor, event_id::paint, calls, "on a dead source too");

    owner.reset();
    events().fire(&source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"owned by the survivor"});

    // The destroyed source's handlers went, whoever owned them; the owner's later disconnect finds
    // nothing, even once a new object stands at the same address.
    probe* address = &*dropped_source;
    dropped_source.reset();
    EXPECT_FALSE(events().fire(address, event_id::clicked, 2, 1, 0));
    dropped_source.emplace();
    ASSERT_EQ(&*dropped_source, address);
    calls.clear();
    connect_tag(*dropped_source, survivor, event_id::clicked, calls, "new object");
    events().disconnect(listening);
    events().fire(&*dropped_source, event_id::clicked, 2, 1, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"new object"});
}

TEST(UiEventManager, HandlersOfObjectsDestroyedDuringFireAreSkipped) {
    std::vector<std::string> calls;
    probe first_owner;
    std::optional<probe> later_owner(std::in_place);
    auto source = std::make_unique<probe>();
    events().connect(source.get(), &first_owner, event_id::clicked, [&](const event_info&) {
        calls.push_back("destroys the later owner");
        later_owner.reset();
    });
    connect_tag(*source, *later_owner, event_id::clicked, calls, "of the destroyed owner");
    events().connect(source.get(), &first_owner, event_id::clicked, [&](const event_info&) {
        calls.push_back("destroys the source");
        source.reset();
    });
    connect_tag(*source, first_owner, event_id::clicked, calls, "on the destroyed source");

    EXPECT_TRUE(events().fire(source.get(), event_id::clicked, 2, 1, 0));
    EXPECT_EQ(calls, (std::vector<std::string>{"destroys the later owner", "destroys the source"}));
}

TEST(UiEventManager, AnEmptyHandlerMakesFireThrow) {
    probe source;
    events().connect(&source, &source, event_id::clicked, event_handler());
    EXPECT_THROW(events().fire(&source, event_id::clicked, 2, 1, 0), std::bad_function_call);
}

struct listener : event_object {
    void on_event(const event_info& e) { values.push_back(e.value); }
    void on_plain() { ++plain; }
    void on_flag(bool v) { flags.push_back(v); }

    std::vector<uint64_t> values;
    int plain = 0;
    bool hover = false;
    std::vector<bool> flags;
};

TEST(UiEventManager, BindHelpersConnectMembersOwnedByTheListener) {
    probe source;
    std::optional<listener> l(std::in_place);
    bind_member_handler(&source, event_id::clicked, &listener::on_event, &*l);
    const uint32_t plain = bind_handler(&source, event_id::clicked, std::bind(&listener::on_plain, &*l), &*l);
    bind_handler(&source, event_id::clicked, std::bind(&listener::on_flag, &*l, std::ref(l->hover)), &*l);

    events().fire(&source, event_id::clicked, 2, 1, 7);
    l->hover = true;  // the bool member is read when the handler runs
    events().fire(&source, event_id::clicked, 2, 1, 8);
    EXPECT_EQ(l->values, (std::vector<uint64_t>{7, 8}));
    EXPECT_EQ(l->plain, 2);
    EXPECT_EQ(l->flags, (std::vector<bool>{false, true}));

    events().disconnect(plain);
    events().fire(&source, event_id::clicked, 2, 1, 9);
    EXPECT_EQ(l->plain, 2);

    l.reset();
    EXPECT_TRUE(events().fire(&source, event_id::clicked, 2, 1, 10));  // the listener's handlers went with it
}

}  // namespace
