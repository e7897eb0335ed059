// The PiPL resource (type "PIPL", id 16000) as the host reads it: a 16-bit 1, a 32-bit format version 0 and
// a 32-bit property count; then per property its vendor, key, id and data length as 32-bit numbers and the
// data padded to four bytes. Numbers are little-endian, and a four-character code is a number whose most
// significant byte is the code's first character (so the bytes of "kind" read "dnik").
#pragma once

#include <string_view>

#include "ae_types.h"

constexpr A_u_long PiPL_FourCharCode(std::string_view text) {
    return text.size() != 4 ? 0
                            : static_cast<A_u_long>(static_cast<unsigned char>(text[0])) << 24 |
                                  static_cast<A_u_long>(static_cast<unsigned char>(text[1])) << 16 |
                                  static_cast<A_u_long>(static_cast<unsigned char>(text[2])) << 8 |
                                  static_cast<A_u_long>(static_cast<unsigned char>(text[3]));
}

constexpr A_long PiPL_RESOURCE_ID = 16000;
constexpr A_u_short PiPL_HEADER_RESERVED = 1;
constexpr A_u_long PiPL_FORMAT_VERSION = 0;
constexpr A_u_long PiPL_VENDOR = PiPL_FourCharCode("8BIM");  // the vendor of every property the host reads
