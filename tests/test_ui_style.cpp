#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string_view>
#include <vector>

#include "pair_packing.h"
#include "style.h"
#include "style_table.h"
#include "ui_test_support.h"

namespace {

using namespace qssdk::ui;
using ui_test::event_log;

uint32_t bits(float v) { return std::bit_cast<uint32_t>(v); }

// Keys of the defaults used below: "label_font_size" 11.0, "button_font_size" 11.0, "checkbox_text_gap" 5,
// "scroll_min_size" 50, "tooltip_font_size" 11.0.
class UiStyle : public testing::Test {
protected:
    void SetUp() override {
        const style_entry theme[] = {
            make_scalar_entry("checkbox_text_gap", 7),
            make_scalar_entry("only_in_the_theme", 3),
            make_scalar_entry("only_in_the_theme", 4),  // the first entry of a key is the one kept
        };
        install_style_overrides(theme);
    }
    void TearDown() override { install_style_overrides({}); }

    struct owner : qssdk::ui::event_object {
        qssdk::ui::style store{this};
    } widget_like;
    style& store = widget_like.store;
};

TEST_F(UiStyle, LooksUpOwnValuesThenTheOverridesThenTheDefaults) {
    EXPECT_EQ(store.get("checkbox_text_gap").as_int(), 7);  // override over default
    EXPECT_EQ(store.get("scroll_min_size").as_int(), 50);   // default only
    EXPECT_EQ(store.get("only_in_the_theme").as_int(), 3);
    store.set_scalar("checkbox_text_gap", 9);
    EXPECT_EQ(store.get("checkbox_text_gap").as_int(), 9);  // own over override
    EXPECT_FLOAT_EQ(store.get_float("label_font_size"), 11.0f);

    // Another store sees the tiers, not this one's own values.
    style other;
    EXPECT_EQ(other.get("checkbox_text_gap").as_int(), 7);
}

TEST_F(UiStyle, AKeyFoundNowhereReadsEmptyAndEveryTypedReadOfItIsZero) {
    const style_value missing = store.get("no_such_key");
    EXPECT_TRUE(missing.bytes.empty());
    EXPECT_EQ(missing.color, color(0.0f));
    EXPECT_EQ(store.get_float("no_such_key"), 0.0f);
    EXPECT_EQ(missing.as_int(), 0);
    EXPECT_FALSE(missing.as_flag());
    EXPECT_EQ(missing.as_pair(), std::make_pair(0, 0));
    const image_data image = missing.as_image();
    EXPECT_EQ(image.bytes, nullptr);
    EXPECT_EQ(image.size, 0u);
    EXPECT_EQ(image.frames, 1u);

    // A value shorter than the type asked for is not read past its end either.
    EXPECT_EQ(style_value(uint32_t{5}).as_pair(), std::make_pair(0, 0));
    EXPECT_EQ(style_value(uint8_t{1}).as_int(), 0);
    EXPECT_EQ(style_value::from_pair(pack_pair(-3, 4)).as_pair(), std::make_pair(-3, 4));
    EXPECT_EQ(style_value::from_pair(pack_pair(-3, 4)).as_int(), -3);  // the first four bytes
}

TEST_F(UiStyle, AnAliasHidesTheOwnValueAndIsFollowedOneStep) {
    store.set_scalar("alias_source", 1);
    store.set_alias("alias_source", "checkbox_text_gap");
    EXPECT_EQ(store.get("alias_source").as_int(), 7);  // the target's override
    store.set_scalar("checkbox_text_gap", 8);
    EXPECT_EQ(store.get("alias_source").as_int(), 8);  // the target's own value
    store.set_scalar("alias_source", 2);               // stored under the key, still hidden
    EXPECT_EQ(store.get("alias_source").as_int(), 8);

    store.set_alias("scroll_min_size", "button_font_size");
    store.set_alias("checkbox_text_gap", "scroll_min_size");
    EXPECT_EQ(store.get("checkbox_text_gap").as_int(), 50);  // not on to button_font_size
    EXPECT_FLOAT_EQ(store.get_float("scroll_min_size"), 11.0f);

    store.set_alias("unknown_alias", "no_such_key");
    EXPECT_TRUE(store.get("unknown_alias").bytes.empty());
}

TEST_F(UiStyle, SettersAnnounceTheKeyAndTheSameAliasOnlyOnce) {
    event_log log;
    log.watch(&widget_like, event_id::style_changed);
    constexpr std::string_view key = "label_font_size";
    store.set_scalar(key, bits(12.0f));
    store.set_color(key, color(0.5f));
    store.set_alias(key, "tooltip_font_size");
    store.set_alias(key, "tooltip_font_size");
    store.set_alias(key, std::string_view("button_font_size"));
    ASSERT_EQ(log.events.size(), 4u);
    for (const auto& e : log.events) {
        EXPECT_EQ(e.source, &widget_like);
        EXPECT_EQ(e.value, ui_test::address(key.data()));
    }
    EXPECT_FLOAT_EQ(store.get_float(key), 11.0f);
}

TEST_F(UiStyle, ASetterReplacesAValueOfAnyKind) {
    store.set_scalar("checkbox_font_color", 3);
    EXPECT_EQ(store.get("checkbox_font_color").color, color(0.0f));
    store.set_color("checkbox_font_color", {0.1f, 0.2f, 0.3f, 0.4f});
    const style_value now = store.get("checkbox_font_color");
    EXPECT_TRUE(now.bytes.empty());
    EXPECT_EQ(now.color, color(0.1f, 0.2f, 0.3f, 0.4f));
    store.set_scalar("checkbox_font_color", 3);
    EXPECT_EQ(store.get("checkbox_font_color"), style_value(uint32_t{3}));
}

TEST_F(UiStyle, AStoreWithoutOwnerChangesSilently) {
    event_log log;
    log.watch(&widget_like, event_id::style_changed);
    style silent;
    silent.set_scalar("checkbox_text_gap", 1);
    silent.set_alias("a", "checkbox_text_gap");
    EXPECT_EQ(silent.get("a").as_int(), 1);
    EXPECT_TRUE(log.events.empty());
}

TEST(UiStyleValue, MakersGiveTheKindsByteForByte) {
    const image_data image{reinterpret_cast<const unsigned char*>("png"), 3, 2, 4.0f};
    EXPECT_EQ(make_flag_entry("k", 1).value.bytes, std::string("\x01", 1));
    EXPECT_EQ(make_scalar_entry("k", 0x04030201).value.bytes, "\x01\x02\x03\x04");
    EXPECT_EQ(make_pair_entry("k", pack_pair(1, 2)).value.bytes, std::string("\x01\0\0\0\x02\0\0\0", 8));
    EXPECT_EQ(make_text_entry("k", "Tahoma").value.bytes, "Tahoma");
    EXPECT_EQ(make_color_entry("k", color(0.5f)).value, style_value(color(0.5f)));
    const style_value image_value = make_image_entry("k", image).value;
    ASSERT_EQ(image_value.bytes.size(), 24u);
    const image_data back = image_value.as_image();
    EXPECT_EQ(back.bytes, image.bytes);
    EXPECT_EQ(back.size, 3u);
    EXPECT_EQ(back.frames, 2u);
    EXPECT_EQ(back.scale, 4.0f);
    for (const auto& e : {make_flag_entry("k", 1), make_scalar_entry("k", 1), make_text_entry("k", "x")})
        EXPECT_EQ(e.value.color, color(0.0f));
}

}  // namespace

namespace {

// A style copied into a child (as a dialog hands its keys to its buttons) keeps the child's owner: the
// child's later changes reach the child, not the object the values came from.
TEST_F(UiStyle, CopiedValuesKeepTheTargetsOwner) {
    event_log log;
    struct child_like : qssdk::ui::event_object {
        qssdk::ui::style store{this};
    } child;
    store.set_scalar("checkbox_text_gap", 12);
    store.set_alias("label_font_size", "button_font_size");
    log.watch(&widget_like, event_id::style_changed);
    log.watch(&child, event_id::style_changed);

    child.store = store;
    EXPECT_TRUE(log.events.empty()) << "a copy announces nothing";
    EXPECT_EQ(child.store.get("checkbox_text_gap").as_int(), 12);
    EXPECT_FLOAT_EQ(child.store.get_float("label_font_size"), 11.0f);

    child.store.set_scalar("scroll_min_size", 8);
    child.store.set_flag("label_text_underlined", 1);
    EXPECT_EQ(log.ids_of(&child), (std::vector<event_id>{event_id::style_changed, event_id::style_changed}));
    EXPECT_TRUE(log.ids_of(&widget_like).empty());
    EXPECT_TRUE(child.store.get("label_text_underlined").as_flag());
    EXPECT_EQ(store.get("scroll_min_size").as_int(), 50) << "the source keeps its own values";
}

}  // namespace
