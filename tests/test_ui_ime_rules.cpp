#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ime_rules.h"

namespace {

using namespace qssdk::ui;

constexpr uint16_t english_us = 0x0409;
constexpr uint16_t korean = 0x0412;
constexpr uint16_t japanese = 0x0411;
constexpr uint64_t vk_back = 0x08, vk_return = 0x0D, vk_space = 0x20, vk_end = 0x23, vk_home = 0x24,
                   vk_left = 0x25, vk_right = 0x27, vk_a = 0x41;

TEST(UiImeRules, CursorAfterAStringIsRead) {
    struct row {
        const char* what;
        ime_cursor_inputs in;
        bool needs_system;
        int32_t cursor;
    };
    const row rows[] = {
        {"result: the end", {ime_string::result, 5, japanese, true, vk_home, 2, 1}, false, 5},
        {"Korean: the end", {ime_string::composition, 4, korean, false, vk_a, 1, 1}, false, 4},
        {"no converted target: the system's", {ime_string::composition, 6, japanese, false, vk_end, 2, 3}, true, 3},
        {"End", {ime_string::composition, 6, japanese, true, vk_end, 2, 0}, false, 6},
        {"Home", {ime_string::composition, 6, japanese, true, vk_home, 4, 0}, false, 0},
        {"Left at 0 stays", {ime_string::composition, 6, japanese, true, vk_left, 0, 0}, false, 0},
        {"Left", {ime_string::composition, 6, japanese, true, vk_left, 3, 0}, false, 2},
        {"Right at the end stays", {ime_string::composition, 6, japanese, true, vk_right, 6, 0}, false, 6},
        {"Right", {ime_string::composition, 6, japanese, true, vk_right, 2, 0}, false, 3},
        {"Right past a shorter string", {ime_string::composition, 2, japanese, true, vk_right, 4, 0}, false, 2},
        {"other keys keep it", {ime_string::composition, 6, japanese, true, vk_a, 4, 0}, false, 4},
    };
    for (const row& r : rows) {
        EXPECT_EQ(needs_system_cursor(r.in), r.needs_system) << r.what;
        EXPECT_EQ(composition_cursor(r.in), r.cursor) << r.what;
    }
}

TEST(UiImeRules, NotificationsBeforeACompositionStringIsRead) {
    using steps = std::vector<uint64_t>;
    const steps restart = {ime_step::finished, ime_step::started};
    struct row {
        const char* what;
        bool converted;
        int32_t cursor;
        ime_key key;
        uint16_t language;
        uint32_t flags;
        steps expected;
    };
    const row rows[] = {
        {"a typed key commits the converted target", true, 3, {vk_a, 'a'}, japanese, ime_string::composition, restart},
        {"Backspace does not", true, 3, {vk_back, 8}, japanese, ime_string::composition, {}},
        {"Return does not", true, 3, {vk_return, 13}, japanese, ime_string::composition, {}},
        {"Space does not", true, 3, {vk_space, ' '}, japanese, ime_string::composition, {}},
        {"nor a key without a character", true, 3, {vk_left, 0}, japanese, ime_string::composition, {}},
        {"nor a cursor inside the text", true, 1, {vk_a, 'a'}, japanese, ime_string::composition, {}},
        {"nor an unconverted text", false, 3, {vk_a, 'a'}, japanese, ime_string::composition, {}},
        {"a Korean result restarts", false, 3, {vk_a, 'a'}, korean, ime_string::result, {ime_step::started}},
        {"a Korean composition does not", false, 3, {vk_a, 'a'}, korean, ime_string::composition, {}},
        {"both at once", true, 3, {vk_a, 'a'}, korean, ime_string::result,
         {ime_step::finished, ime_step::started, ime_step::started}},
        {"a result in another language", false, 3, {vk_a, 'a'}, english_us, ime_string::result, {}},
    };
    for (const row& r : rows)
        EXPECT_EQ(composition_prelude(r.converted, r.cursor, 3, r.key, r.language, r.flags), r.expected) << r.what;
}

TEST(UiImeRules, AStringIsTakenByItsReturnedLengthNeverBeyondIt) {
    // The input method writes no terminator; the buffer ends where its reported length ends.
    const std::array<wchar_t, 3> unterminated = {L'\x65e5', L'\x672c', L'x'};
    const std::array<wchar_t, 3> with_nul = {L'a', L'\0', L'c'};
    struct row {
        std::span<const wchar_t> buffer;
        long byte_length;
        std::wstring expected;
    };
    const row rows[] = {
        {unterminated, 6, L"\x65e5\x672cx"},
        {unterminated, 4, L"\x65e5\x672c"},
        {unterminated, 5, L"\x65e5\x672c"},   // half a character is not taken
        {unterminated, 600, L"\x65e5\x672cx"},  // a length beyond the buffer stops at the buffer
        {with_nul, 6, L"a"},
        {unterminated, 0, L""},
        {unterminated, -1, L""},  // IMM_ERROR_NODATA
    };
    for (const row& r : rows) EXPECT_EQ(composition_text(r.buffer, r.byte_length), r.expected) << r.byte_length;
}

TEST(UiImeRules, AnyTargetConvertedAttributeMarksAConvertedTarget) {
    EXPECT_TRUE(has_target_converted(std::vector<uint8_t>{0, 0, 1, 2}));
    EXPECT_FALSE(has_target_converted(std::vector<uint8_t>{0, 2, 3}));
    EXPECT_FALSE(has_target_converted({}));
}

}  // namespace
