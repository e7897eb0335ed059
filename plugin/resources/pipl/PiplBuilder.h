// The pieces of a PiPL resource description and their encoding in the host's format. A description file
// defines pipl::description(); the build compiles it with PiplWriter.cpp for the build machine and stores
// the bytes it writes as the module's resource (type PIPL, id 16000).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "ae_pipl.h"

namespace pipl {

struct property {
    uint32_t key = 0;
    std::vector<uint8_t> data;  // unpadded; the length field says how many bytes
};

// A property whose value is a four-character code (the kind of module).
property code(std::string_view key, std::string_view value);
// A length-prefixed string of at most 255 bytes (names, category, match name).
property pascalString(std::string_view key, std::string_view text);
// A NUL-terminated string (the entry point's name).
property cString(std::string_view key, std::string_view text);
property u16(std::string_view key, uint16_t value);
property u32(std::string_view key, uint32_t value);
// Two 16-bit numbers, major then minor.
property version(std::string_view key, uint16_t major, uint16_t minor);

// The resource's bytes: the header, then every property in order, each padded to four bytes.
std::vector<uint8_t> encode(const std::vector<property>& properties);

// Defined by the description file.
std::vector<property> description();

}  // namespace pipl
