#include "Pipl.h"

#include <cstring>
#include <stdexcept>

#include "ae_pipl.h"

namespace hostsim {

namespace {

class reader {
public:
    reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint16_t u16() {
        uint16_t value;
        std::memcpy(&value, take(2), 2);
        return value;
    }
    uint32_t u32() {
        uint32_t value;
        std::memcpy(&value, take(4), 4);
        return value;
    }
    const uint8_t* take(size_t count) {
        if (count > size_ - position_) throw std::runtime_error("the PiPL resource is truncated");
        const uint8_t* p = data_ + position_;
        position_ += count;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace

const pipl_property* pipl::find(std::string_view key) const {
    for (const auto& property : properties)
        if (property.key == PiPL_FourCharCode(key)) return &property;
    return nullptr;
}

std::optional<std::string> pipl::pascalString(std::string_view key) const {
    const pipl_property* p = find(key);
    if (!p || p->length == 0 || p->stored[0] + 1u > p->length) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(p->stored.data() + 1), p->stored[0]);
}

std::optional<std::string> pipl::cString(std::string_view key) const {
    const pipl_property* p = find(key);
    if (!p) return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(p->stored.data());
    return std::string(text, strnlen(text, p->length));
}

std::optional<uint32_t> pipl::u32(std::string_view key) const {
    const pipl_property* p = find(key);
    if (!p || p->length != 4) return std::nullopt;
    uint32_t value;
    std::memcpy(&value, p->stored.data(), 4);
    return value;
}

pipl parsePipl(const uint8_t* data, size_t size) {
    reader in(data, size);
    pipl result;
    result.reserved = in.u16();
    result.version = in.u32();
    // The host reads no other layout; a resource in another one would be read as nonsense.
    if (result.reserved != PiPL_HEADER_RESERVED || result.version != PiPL_FORMAT_VERSION)
        throw std::runtime_error("the PiPL resource is not in the host's format");
    const uint32_t count = in.u32();
    for (uint32_t i = 0; i < count; ++i) {
        pipl_property property;
        property.vendor = in.u32();
        if (property.vendor != PiPL_VENDOR)
            throw std::runtime_error("a PiPL property has a vendor the host does not read");
        property.key = in.u32();
        property.id = in.u32();
        property.length = in.u32();
        const size_t padded = property.length + size_t{(4 - property.length % 4) % 4};
        const uint8_t* bytes = in.take(padded);
        property.stored.assign(bytes, bytes + padded);
        result.properties.push_back(std::move(property));
    }
    return result;
}

pipl readPipl(HMODULE module) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(PiPL_RESOURCE_ID), L"PIPL");
    if (!resource) throw std::runtime_error("the module has no PiPL resource");
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (!bytes) throw std::runtime_error("the PiPL resource cannot be read");
    return parsePipl(bytes, SizeofResource(module, resource));
}

}  // namespace hostsim
