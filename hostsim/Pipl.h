// Reads the effect's PiPL resource (type "PIPL", id 16000): the properties the host learns the effect from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace hostsim {

struct pipl_property {
    std::string vendor;  // four characters
    std::string key;     // four characters
    uint32_t id = 0;
    std::vector<uint8_t> data;  // unpadded
};

struct pipl {
    uint32_t version = 0;
    std::vector<pipl_property> properties;

    const pipl_property* find(const std::string& key) const;
    // A length-prefixed string property ("name", "catg", "eMNA").
    std::optional<std::string> pascalString(const std::string& key) const;
    // A NUL-terminated string property (the code entry "8664").
    std::optional<std::string> cString(const std::string& key) const;
    std::optional<uint32_t> u32(const std::string& key) const;
};

// Parses a resource's bytes; throws std::runtime_error on a malformed block.
pipl parsePipl(const uint8_t* data, size_t size);
// The PiPL resource of a loaded module; throws std::runtime_error when there is none.
pipl readPipl(HMODULE module);

}  // namespace hostsim
