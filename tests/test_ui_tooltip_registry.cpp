#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tooltip_layout.h"
#include "tooltip_registry.h"
#include "ui_test_support.h"
#include "widget.h"

namespace {

using namespace qssdk::ui;
using ui_test::address;

struct scripted_input : tooltip_input {
    double seconds() const override { return now; }
    widget* hover_widget() const override { return hover; }
    point cursor_position(const widget* relative_to) const override { return relative_to ? local : screen; }

    double now = 0.0;
    widget* hover = nullptr;
    point local;
    point screen{300, 200};
};

struct shown_tooltip {
    point position;
    std::string title, text;
    const widget* style_source;
    bool operator==(const shown_tooltip&) const = default;
};

struct recording_view : tooltip_view {
    bool is_shown() const override { return shown; }
    void show(point position, const std::string& title, const std::string& text, const widget& source) override {
        shown = true;
        shows.push_back({position, title, text, &source});
    }
    void hide() override { shown = false; }

    bool shown = false;
    std::vector<shown_tooltip> shows;
};

class UiTooltipRegistry : public testing::Test {
protected:
    UiTooltipRegistry() {
        root.set_window(&host);
        root.initialize({0, 0, 400, 300});
        button.create(&root, {10, 10, 100, 40});
    }

    // One tick at a time with the cursor at a point of the hovered widget.
    void tick(double at, widget* hover, point local) {
        input.now = at;
        input.hover = hover;
        input.local = local;
        registry.tick(input, view);
    }

    ui_test::test_host host;
    widget root, button;
    tooltip_registry registry;
    scripted_input input;
    recording_view view;
};

TEST_F(UiTooltipRegistry, AnAreaWithNeitherTitleNorTextIsIgnored) {
    EXPECT_EQ(registry.add(address(&button), {}, "", ""), tooltip_registry::added::ignored);
    EXPECT_TRUE(registry.empty());
    EXPECT_EQ(registry.add(address(&button), {}, "", "only a text"), tooltip_registry::added::first);
    EXPECT_EQ(registry.add(address(&root), {}, "title", ""), tooltip_registry::added::added);
}

// The cursor rests on one area of a whole-widget tooltip: each row is one tick.
TEST_F(UiTooltipRegistry, ShowsAfterThreeQuartersOfASecondAtTheCursorAndHidesAtSixSeconds) {
    registry.add(address(&button), {}, "Title", "Text");
    struct step {
        double at;
        point local;
        bool shown;
    };
    const step steps[] = {
        {0.0, {50, 20}, false},     // the hover widget is new: the delay starts
        {0.25, {50, 20}, false},    // a new area: the delay starts again
        {1.0, {50, 20}, false},     // exactly 0.75 s is not enough
        {1.125, {100, 40}, true},   // the far corner is inside: edges count
        {3.0, {60, 20}, true},      // still the same area
        {6.125, {60, 20}, true},    // 5.875 s
        {6.25, {60, 20}, false},    // 6.0 s: hidden
        {7.0, {60, 20}, false},     // and stays hidden while the cursor rests
    };
    for (const step& s : steps) {
        tick(s.at, &button, s.local);
        EXPECT_EQ(view.shown, s.shown) << "at " << s.at;
    }
    const std::vector<shown_tooltip> expected = {{{305, 220}, "Title", "Text", &button}};
    EXPECT_EQ(view.shows, expected);  // shown once, styled by the live widget it belongs to
}

TEST_F(UiTooltipRegistry, MovingToAnotherAreaLeavingTheAreasOrTheWidgetHidesAndRestartsTheDelay) {
    registry.add(address(&button), {0, 0, 40, 40}, "", "left");
    registry.add(address(&button), {60, 0, 40, 40}, "", "right");
    struct step {
        double at;
        widget* hover;
        point local;
        bool shown;
    };
    const step steps[] = {
        {0.0, &button, {10, 10}, false},  {0.1, &button, {10, 10}, false}, {1.0, &button, {10, 10}, true},
        {1.1, &button, {70, 10}, false},  // the other area: hidden, the delay starts over
        {1.8, &button, {70, 10}, false},  {1.9, &button, {70, 10}, true},
        {2.0, &button, {50, 10}, false},  // between the areas
        {2.1, &button, {50, 10}, false},  {2.2, &button, {70, 10}, false},  // back in: a fresh delay
        {2.9, &button, {70, 10}, true},   {3.0, &root, {70, 10}, false},     // another widget
        {5.0, &root, {70, 10}, false},    // which has no tooltip
        {5.1, nullptr, {}, false},
    };
    for (const step& s : steps) {
        tick(s.at, s.hover, s.local);
        EXPECT_EQ(view.shown, s.shown) << "at " << s.at;
    }
    ASSERT_EQ(view.shows.size(), 3u);
    EXPECT_EQ(view.shows[0].text, "left");
    EXPECT_EQ(view.shows[1].text, "right");
    EXPECT_EQ(view.shows[2].text, "right");
}

TEST_F(UiTooltipRegistry, ADestroyedWidgetsAreasAndShownTooltipAreDropped) {
    std::optional<widget> label(std::in_place);
    label->create(&root, {0, 100, 80, 20});
    const widget* old_address = &*label;
    registry.add(address(&*label), {}, "", "dying");
    registry.add(address(&button), {}, "", "stays");
    tick(0.0, &*label, {5, 5});
    tick(0.1, &*label, {5, 5});
    tick(1.0, &*label, {5, 5});
    ASSERT_TRUE(view.shown);

    registry.forget(&*label, &view);
    EXPECT_FALSE(view.shown);
    label.reset();
    label.emplace();
    label->create(&root, {0, 100, 80, 20});
    ASSERT_EQ(&*label, old_address);
    for (double at = 1.1; at < 3.0; at += 0.1) tick(at, &*label, {5, 5});
    EXPECT_EQ(view.shows.size(), 1u);  // nothing for the newcomer at the old address

    for (const double at : {3.0, 3.1, 4.0}) tick(at, &button, {5, 5});
    ASSERT_EQ(view.shows.size(), 2u);  // other widgets keep theirs
    EXPECT_EQ(view.shows[1].text, "stays");
}

TEST(UiTooltipLayout, SizesTheWindowToTheTextsWithMarginsAndAGapOnlyBetweenTwoParts) {
    struct row {
        bool has_title;
        size title;
        bool has_text;
        size text;
        int32_t line_gap;
        rect window;
        rect title_box, text_box;
    };
    const row rows[] = {
        {false, {}, true, {120, 14}, 0, {50, 60, 136, 22}, {8, 4, 120, 0}, {8, 4, 120, 14}},
        {true, {80, 15}, true, {120, 14}, 2, {50, 60, 136, 39}, {8, 4, 120, 15}, {8, 21, 120, 14}},
        {true, {150, 15}, true, {120, 14}, 2, {50, 60, 166, 39}, {8, 4, 150, 15}, {8, 21, 150, 14}},
        {true, {80, 15}, false, {99, 99}, 0, {50, 60, 96, 23}, {8, 4, 80, 15}, {8, 19, 80, 0}},
    };
    for (const row& r : rows) {
        const tooltip_layout l = layout_tooltip({50, 60}, r.has_title, r.title, r.has_text, r.text);
        EXPECT_EQ(l.line_gap, r.line_gap);
        EXPECT_EQ(l.window, r.window);
        EXPECT_EQ(l.title_box(l.window.width), r.title_box);
        EXPECT_EQ(l.text_box(l.window.width), r.text_box);
    }
}

}  // namespace
