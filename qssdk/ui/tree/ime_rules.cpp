#include "ime_rules.h"

#include <algorithm>

namespace qssdk::ui {

namespace {

// Virtual keys the rules look at.
constexpr uint64_t vk_back = 0x08;
constexpr uint64_t vk_return = 0x0D;
constexpr uint64_t vk_space = 0x20;
constexpr uint64_t vk_end = 0x23;
constexpr uint64_t vk_home = 0x24;
constexpr uint64_t vk_left = 0x25;
constexpr uint64_t vk_right = 0x27;

constexpr uint16_t primary_language_mask = 0x3FF;

}  // namespace

bool is_korean(uint16_t keyboard_language) {
    return (keyboard_language & primary_language_mask) == korean_primary_language;
}

std::vector<uint64_t> composition_prelude(bool target_converted, int32_t cursor, size_t text_length,
                                          const ime_key& last_key, uint16_t keyboard_language, uint32_t flags) {
    std::vector<uint64_t> steps;
    if (target_converted && cursor >= 0 && static_cast<size_t>(cursor) == text_length && last_key.character != 0 &&
        last_key.virtual_key != vk_back && last_key.virtual_key != vk_return && last_key.virtual_key != vk_space) {
        steps.push_back(ime_step::finished);
        steps.push_back(ime_step::started);
    }
    if (is_korean(keyboard_language) && (flags & ime_string::result) && last_key.character != 0)
        steps.push_back(ime_step::started);
    return steps;
}

bool needs_system_cursor(const ime_cursor_inputs& in) {
    return in.kind != ime_string::result && !is_korean(in.keyboard_language) && !in.target_converted;
}

int32_t composition_cursor(const ime_cursor_inputs& in) {
    const auto length = static_cast<int32_t>(in.text_length);
    if (in.kind == ime_string::result || is_korean(in.keyboard_language)) return length;
    if (!in.target_converted) return in.system_cursor;
    switch (in.last_virtual_key) {
        case vk_end: return length;
        case vk_home: return 0;
        case vk_left: return std::max(in.current - 1, 0);
        case vk_right: return std::min(in.current + 1, length);
        default: return in.current;
    }
}

std::wstring composition_text(std::span<const wchar_t> buffer, long byte_length) {
    // The input method counts the bytes of UTF-16 units, whatever the width of the compiler's wchar_t.
    constexpr size_t utf16_unit_bytes = 2;
    if (byte_length <= 0) return {};
    const size_t count = std::min(static_cast<size_t>(byte_length) / utf16_unit_bytes, buffer.size());
    const std::wstring_view written(buffer.data(), count);
    return std::wstring(written.substr(0, written.find(L'\0')));
}

bool has_target_converted(std::span<const uint8_t> attributes) {
    return std::ranges::find(attributes, ime_target_converted_attribute) != attributes.end();
}

}  // namespace qssdk::ui
