#include "style_entry.h"

#include <bit>

#include "pair_packing.h"

namespace qssdk::ui {

style_entry make_color_entry(std::string_view key, const color& value) { return {key, style_value(value)}; }

style_entry make_text_entry(std::string_view key, const std::string& text) {
    return {key, style_value::from_text(text)};
}

style_entry make_scalar_entry(std::string_view key, const uint32_t& value) { return {key, style_value(value)}; }

style_entry make_pair_entry(std::string_view key, const uint64_t& value) {
    return {key, style_value::from_pair(value)};
}

style_entry make_flag_entry(std::string_view key, const uint8_t& value) { return {key, style_value(value)}; }

style_entry make_code_entry(std::string_view key, int32_t code) {
    return make_scalar_entry(key, static_cast<uint32_t>(code));
}

style_entry make_float_entry(std::string_view key, float value) {
    return make_scalar_entry(key, std::bit_cast<uint32_t>(value));
}

style_entry make_pair_entry(std::string_view key, int32_t first, int32_t second) {
    return make_pair_entry(key, pack_pair(first, second));
}

style_entry make_image_entry(std::string_view key, const image_data& image) {
    return {key, style_value::from_image(image)};
}

}  // namespace qssdk::ui
