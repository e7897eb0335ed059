// The scroll bar widget in a widget tree with a stand-in window: the handlers it connects, the mouse and
// the wheel moving its content, the mouse capture of a thumb drag, and a content that goes away.
#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string_view>
#include <vector>

#include "capture_widget.h"
#include "event_manager.h"
#include "input_codes.h"
#include "scroll_bar.h"
#include "ui_test_support.h"

namespace {

using namespace qssdk::ui;
using ui_test::event_log;
using ui_test::test_host;

uint64_t wheel(double pixels) { return std::bit_cast<uint64_t>(pixels); }
uint64_t as_event_value(int32_t v) { return static_cast<uint64_t>(static_cast<int64_t>(v)); }

// A 200 x 200 viewport with a content 500 high, and a vertical bar 16 x 200 with arrow buttons beside it:
// a track of 168, a thumb of 50 (the default minimum), 300 to scroll, a ratio of 118 / 300.
class UiScrollBar : public testing::Test {
protected:
    UiScrollBar() {
        root.set_window(&host);
        root.initialize({0, 0, 400, 300});
        viewport.create(&root, {0, 0, 200, 200});
        content.create(&viewport, {0, 0, 200, 500});
        bar.set_orientation(scroll_orientation::vertical);
        bar.set_show_buttons(true);
        bar.set_content(&content);
        bar.create(&root, {200, 0, 16, 200});
        // The owner's wiring.
        event_manager& events = event_manager::instance();
        for (const event_id id : {event_id::resized, event_id::moved})
            events.connect(&content, &bar, id, [this](const event_info&) { bar.update_thumb(); });
        events.connect(&content, &bar, event_id::mouse_wheel, [this](const event_info& e) { bar.on_wheel(e); });
        events.connect(&viewport, &bar, event_id::resized, [this](const event_info&) { bar.fit_content(); });
        log.watch(&bar, event_id::value_changed);
    }
    ~UiScrollBar() override { set_capture_widget(nullptr); }

    void send(event_id id, point cursor, uint64_t value) {
        host.cursor = cursor;
        event_manager::instance().fire(&bar, id, 2, 1, value);
    }
    std::vector<uint64_t> fired() const {
        std::vector<uint64_t> values;
        for (const auto& e : log.events) values.push_back(e.value);
        return values;
    }

    test_host host;
    widget root, viewport, content;
    scroll_bar bar;
    event_log log;
};

TEST_F(UiScrollBar, WheelButtonsTrackAndDragMoveTheContent) {
    ASSERT_EQ(bar.metrics().thumb, (rect{0, 16, 16, 50}));
    ASSERT_EQ(bar.metrics().max_value, 300);
    const uint64_t left = static_cast<uint64_t>(mouse_button::left);
    const uint64_t right = static_cast<uint64_t>(mouse_button::right);
    const struct {
        std::string_view what;
        event_id id;
        point cursor;
        uint64_t value;
        int32_t offset;  // the content's y after the step
        std::vector<int32_t> fired;
        bool dragging;
    } steps[] = {
        {"one notch down", event_id::mouse_wheel, {8, 100}, wheel(-60.0), -60, {60}, false},
        {"a long turn up stops at the start", event_id::mouse_wheel, {8, 100}, wheel(1000.0), 0, {0}, false},
        {"the second button steps down", event_id::mouse_up, {8, 192}, left, -10, {10}, false},
        {"the first button steps up", event_id::mouse_up, {8, 8}, left, 0, {0}, false},
        {"a right release on a button does nothing", event_id::mouse_up, {8, 192}, right, 0, {}, false},
        {"a press on an arrow button does nothing", event_id::mouse_down, {8, 192}, left, 0, {}, false},
        // Past the button: (150 - 16 - 50) / ratio.
        {"the thumb's end jumps to a click after it", event_id::mouse_down, {8, 150}, left, -213, {213}, false},
        // The thumb starts at 16 + 83; (40 - 16) / ratio.
        {"its start jumps to a click before it", event_id::mouse_down, {8, 40}, left, -61, {61}, false},
        {"a press on the thumb starts a drag", event_id::mouse_down, {8, 50}, left, -61, {}, true},
        // 23 of travel were kept at the press: (100 - 27) / ratio is 185, snapped to the step.
        {"a drag moves in steps", event_id::mouse_move, {8, 100}, 0, -180, {185}, true},
        {"a drag past the end stops there", event_id::mouse_move, {8, 400}, 0, -300, {300}, true},
        {"the release ends it", event_id::mouse_up, {8, 400}, left, -300, {}, false},
        {"moves no longer scroll", event_id::mouse_move, {8, 20}, 0, -300, {}, false},
        {"the wheel over the content scrolls too", event_id::mouse_wheel, {8, 20}, wheel(120.0), -180, {180}, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        log.clear();
        if (step.id == event_id::mouse_wheel && step.what.find("content") != std::string_view::npos)
            event_manager::instance().fire(&content, step.id, 2, 1, step.value);
        else
            send(step.id, step.cursor, step.value);
        EXPECT_EQ(content.get_rect().y, step.offset);
        std::vector<uint64_t> expected;
        for (const int32_t v : step.fired) expected.push_back(as_event_value(v));
        EXPECT_EQ(fired(), expected);
        EXPECT_EQ(bar.dragging(), step.dragging);
        EXPECT_EQ(capture_widget(), step.dragging ? &bar : nullptr);
        EXPECT_EQ(bar.metrics().value, -step.offset);
    }
}

TEST_F(UiScrollBar, AttachedAgainOnlyLaysOutAgain) {
    bar.set_rect({200, 0, 16, 100}, false);
    event_manager::instance().fire(&bar, event_id::attached, 2, 1, 0);
    // Laid out for its new height (a track of 68), and one notch scrolls one notch, not two.
    EXPECT_EQ(bar.metrics().thumb, (rect{0, 16, 16, 50}));
    EXPECT_FLOAT_EQ(bar.metrics().ratio, 18.0f / 300.0f);
    send(event_id::mouse_wheel, {8, 50}, wheel(-60.0));
    EXPECT_EQ(content.get_rect().y, -60);
    EXPECT_EQ(fired(), std::vector<uint64_t>{60});
}

TEST_F(UiScrollBar, ContentScrolledPastItsEndIsPulledBackAndFittedToAGrownViewport) {
    send(event_id::mouse_wheel, {8, 50}, wheel(-1000.0));
    ASSERT_EQ(content.get_rect().y, -300);
    content.set_rect({0, -300, 200, 400}, true);  // shrank: 100 past its end
    EXPECT_EQ(content.get_rect().y, -200);
    EXPECT_EQ(bar.metrics().value, 200);
    viewport.set_rect({0, 0, 200, 300}, true);  // grew: the far edge came inside
    EXPECT_EQ(content.get_rect().y, -100);
    EXPECT_EQ(bar.metrics().max_value, 100);
}

TEST_F(UiScrollBar, AContentThatIsDestroyedOrRemovedIsForgotten) {
    const struct {
        std::string_view what;
        bool destroy;
    } cases[] = {{"destroyed", true}, {"removed from the viewport", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto other = std::make_unique<widget>();
        other->create(&viewport, {0, -40, 200, 400});
        bar.set_content(other.get());
        bar.update_thumb();
        ASSERT_EQ(bar.metrics().value, 40);
        if (c.destroy)
            other.reset();
        else
            viewport.remove_child(other.get());
        EXPECT_EQ(bar.content(), nullptr);
        // Without a content the thumb fills the track and scrolling moves nothing.
        bar.update_thumb();
        EXPECT_EQ(bar.metrics().thumb, (rect{0, 16, 16, 168}));
        send(event_id::mouse_wheel, {8, 50}, wheel(-60.0));
        send(event_id::mouse_up, {8, 192}, static_cast<uint64_t>(mouse_button::left));
        if (other) {
            EXPECT_EQ(other->get_rect().y, -40);
        }
    }
    // The content of the fixture is untouched by all this.
    EXPECT_EQ(content.get_rect().y, 0);
}

}  // namespace
