// One theme entry: a byte buffer and a colour. The kind is told by the key's convention and the byte
// count: colour (no bytes, the colour), flag (1 byte), scalar (4 bytes: int32, code or float bits),
// pair (8 bytes: two int32), text (UTF-8, no terminator), image (24 bytes: an image_data), or empty.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "color.h"
#include "image_data.h"

namespace qssdk::ui {

struct style_value {
    std::string bytes;
    qssdk::ui::color color;

    style_value() = default;
    explicit style_value(const qssdk::ui::color& c) : color(c) {}
    explicit style_value(const uint8_t& flag);
    explicit style_value(const uint32_t& scalar);
    static style_value from_pair(const uint64_t& pair);
    static style_value from_text(std::string_view text);
    static style_value from_image(const image_data& image);

    // Typed reads from the start of the bytes. A value too short for the type (a key found nowhere,
    // or one of another kind) reads as zero, or as the empty image.
    bool as_flag() const;
    int32_t as_int() const;
    uint32_t as_uint() const;
    float as_float() const;
    std::pair<int32_t, int32_t> as_pair() const;
    image_data as_image() const;
    // The bytes as text; a stored terminator stays, so callers handing it to the platform stop there.
    const std::string& as_text() const { return bytes; }

    bool operator==(const style_value&) const = default;
};

}  // namespace qssdk::ui
