// The build-time tool that writes a PiPL description's resource bytes to the file named on its command line.
#include <cstdio>
#include <stdexcept>

#include "PiplBuilder.h"

namespace pipl {

namespace {

void putU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t keyOf(std::string_view key) {
    if (key.size() != 4) throw std::invalid_argument("a property key has four characters");
    return PiPL_FourCharCode(key);
}

}  // namespace

property code(std::string_view key, std::string_view value) {
    if (value.size() != 4) throw std::invalid_argument("a code value has four characters");
    return u32(key, PiPL_FourCharCode(value));
}

property pascalString(std::string_view key, std::string_view text) {
    if (text.size() > 255) throw std::invalid_argument("a length-prefixed string holds at most 255 bytes");
    property p{keyOf(key), {}};
    p.data.reserve(1 + text.size());
    p.data.push_back(static_cast<uint8_t>(text.size()));
    for (char c : text) p.data.push_back(static_cast<uint8_t>(c));
    return p;
}

property cString(std::string_view key, std::string_view text) {
    property p{keyOf(key), {text.begin(), text.end()}};
    p.data.push_back(0);
    return p;
}

property u16(std::string_view key, uint16_t value) {
    property p{keyOf(key), {}};
    putU16(p.data, value);
    return p;
}

property u32(std::string_view key, uint32_t value) {
    property p{keyOf(key), {}};
    putU32(p.data, value);
    return p;
}

property version(std::string_view key, uint16_t major, uint16_t minor) {
    property p{keyOf(key), {}};
    putU16(p.data, major);
    putU16(p.data, minor);
    return p;
}

std::vector<uint8_t> encode(const std::vector<property>& properties) {
    std::vector<uint8_t> out;
    putU16(out, PiPL_HEADER_RESERVED);
    putU32(out, PiPL_FORMAT_VERSION);
    putU32(out, static_cast<uint32_t>(properties.size()));
    for (const property& p : properties) {
        putU32(out, PiPL_VENDOR);
        putU32(out, p.key);
        putU32(out, 0);  // property id
        putU32(out, static_cast<uint32_t>(p.data.size()));
        out.insert(out.end(), p.data.begin(), p.data.end());
        out.resize(out.size() + (4 - p.data.size() % 4) % 4, 0);
    }
    return out;
}

}  // namespace pipl

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    try {
        const std::vector<uint8_t> bytes = pipl::encode(pipl::description());
        FILE* file = std::fopen(argv[1], "wb");
        if (!file) throw std::runtime_error("cannot create the output file");
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write the output file");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
