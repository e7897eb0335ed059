// Reads the effect's PiPL resource (type "PIPL", id 16000) in the host's format (aesdk/ae_pipl.h): the
// properties the host learns the effect from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace hostsim {

struct pipl_property {
    uint32_t vendor = 0;  // four-character codes, as numbers
    uint32_t key = 0;
    uint32_t id = 0;
    uint32_t length = 0;          // the data's length as the resource states it
    std::vector<uint8_t> stored;  // the data as stored, padded to four bytes
};

struct pipl {
    uint16_t reserved = 0;
    uint32_t version = 0;
    std::vector<pipl_property> properties;

    const pipl_property* find(std::string_view key) const;
    // A length-prefixed string property ("name", "catg", "eMNA").
    std::optional<std::string> pascalString(std::string_view key) const;
    // A NUL-terminated string property (the code entry "8664").
    std::optional<std::string> cString(std::string_view key) const;
    std::optional<uint32_t> u32(std::string_view key) const;
};

// Parses a resource's bytes; throws std::runtime_error on a malformed block or one in another format.
pipl parsePipl(const uint8_t* data, size_t size);
// The PiPL resource of a loaded module; throws std::runtime_error when there is none.
pipl readPipl(HMODULE module);

}  // namespace hostsim
