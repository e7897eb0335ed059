// The input-method rules of a window that need no input context: the notifications a composition
// message sends before the new string is read, where the composition cursor goes, and how a string
// returned by the input method is taken (by its returned length: it is not NUL-terminated).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qssdk::ui {

// Event 42's values: composition started, composition string changed, result string ready.
namespace ime_step {
inline constexpr uint64_t started = 0;
inline constexpr uint64_t changed = 1;
inline constexpr uint64_t finished = 2;
}  // namespace ime_step

// Composition-string kinds and flags of the input method (GCS_*).
namespace ime_string {
inline constexpr uint32_t composition = 0x0008;
inline constexpr uint32_t composition_attributes = 0x0010;
inline constexpr uint32_t cursor_position = 0x0080;
inline constexpr uint32_t result = 0x0800;
}  // namespace ime_string

// The attribute of a converted target clause (ATTR_TARGET_CONVERTED).
inline constexpr uint8_t ime_target_converted_attribute = 1;
// Primary language id of Korean, whose input method commits every syllable.
inline constexpr uint16_t korean_primary_language = 0x12;

// The window's memory of the last key pressed during a composition.
struct ime_key {
    uint64_t virtual_key = 0;
    uint32_t character = 0;  // MAPVK_VK_TO_CHAR of the key
};

bool is_korean(uint16_t keyboard_language);

// What WM_IME_COMPOSITION notifies before the string is read: a converted target that the last key
// committed finishes and restarts the composition (unless the key was Backspace, Return or Space), and a
// Korean result restarts it.
std::vector<uint64_t> composition_prelude(bool target_converted, int32_t cursor, size_t text_length,
                                          const ime_key& last_key, uint16_t keyboard_language, uint32_t flags);

struct ime_cursor_inputs {
    uint32_t kind = ime_string::composition;  // ime_string::composition or ime_string::result
    size_t text_length = 0;
    uint16_t keyboard_language = 0;
    bool target_converted = false;
    uint64_t last_virtual_key = 0;
    int32_t current = 0;        // the cursor before this string
    int32_t system_cursor = 0;  // GCS_CURSORPOS, read only when this rule asks for it
};

// True when the input method's cursor position is needed (the last rule of composition_cursor).
bool needs_system_cursor(const ime_cursor_inputs& in);
// The cursor position in the composition text after a string was read.
int32_t composition_cursor(const ime_cursor_inputs& in);

// The string the input method wrote into buffer, of which it reported byte_length bytes (negative: an
// error); kept up to its first NUL within that length.
std::wstring composition_text(std::span<const wchar_t> buffer, long byte_length);

// Whether any attribute marks a converted target clause.
bool has_target_converted(std::span<const uint8_t> attributes);

}  // namespace qssdk::ui
