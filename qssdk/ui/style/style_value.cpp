#include "style_value.h"

#include <array>
#include <cstring>

namespace qssdk::ui {

namespace {

template <class T>
std::string bytes_of(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T read_front(const std::string& bytes) {
    T value{};
    if (bytes.size() >= sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

}  // namespace

style_value::style_value(const uint8_t& flag) : bytes(bytes_of(flag)) {}

style_value::style_value(const uint32_t& scalar) : bytes(bytes_of(scalar)) {}

style_value style_value::from_pair(const uint64_t& pair) {
    style_value v;
    v.bytes = bytes_of(pair);
    return v;
}

style_value style_value::from_text(std::string_view text) {
    style_value v;
    v.bytes.assign(text);
    return v;
}

style_value style_value::from_image(const image_data& image) {
    style_value v;
    v.bytes = bytes_of(image);
    return v;
}

bool style_value::as_flag() const { return read_front<uint8_t>(bytes) != 0; }

int32_t style_value::as_int() const { return read_front<int32_t>(bytes); }

uint32_t style_value::as_uint() const { return read_front<uint32_t>(bytes); }

float style_value::as_float() const { return read_front<float>(bytes); }

std::pair<int32_t, int32_t> style_value::as_pair() const {
    const auto both = read_front<std::array<int32_t, 2>>(bytes);
    return {both[0], both[1]};
}

image_data style_value::as_image() const { return read_front<image_data>(bytes); }

}  // namespace qssdk::ui
