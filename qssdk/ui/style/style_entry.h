// One (key, value) pair of the process-wide style tables, and the makers their initialiser lists use.
// Keys are views of string literals: the tables keep the view, not a copy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "style_value.h"

namespace qssdk::ui {

struct style_entry {
    std::string_view key;
    style_value value;
};

style_entry make_color_entry(std::string_view key, const color& value);
style_entry make_text_entry(std::string_view key, const std::string& text);
// Four bytes: an int32, a code, or the bits of a float.
style_entry make_scalar_entry(std::string_view key, const uint32_t& value);
// Eight bytes: two int32, the first in the low 32 bits (pack_pair).
style_entry make_pair_entry(std::string_view key, const uint64_t& value);
style_entry make_flag_entry(std::string_view key, const uint8_t& value);
// The typed forms tables are written in: a code or an int32 size, a float (its bits), two int32.
style_entry make_code_entry(std::string_view key, int32_t code);
style_entry make_float_entry(std::string_view key, float value);
style_entry make_pair_entry(std::string_view key, int32_t first, int32_t second);
style_entry make_image_entry(std::string_view key, const image_data& image);

}  // namespace qssdk::ui
