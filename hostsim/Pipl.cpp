#include "Pipl.h"

#include <cstring>
#include <stdexcept>

namespace hostsim {

namespace {

class reader {
public:
    reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint32_t u32() {
        uint32_t value;
        std::memcpy(&value, take(4), 4);
        return value;
    }
    std::string chars4() {
        const uint8_t* p = take(4);
        return std::string(reinterpret_cast<const char*>(p), 4);
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

const pipl_property* pipl::find(const std::string& key) const {
    for (const auto& property : properties)
        if (property.key == key) return &property;
    return nullptr;
}

std::optional<std::string> pipl::pascalString(const std::string& key) const {
    const pipl_property* p = find(key);
    if (!p || p->data.empty() || p->data[0] + 1u > p->data.size()) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(p->data.data() + 1), p->data[0]);
}

std::optional<std::string> pipl::cString(const std::string& key) const {
    const pipl_property* p = find(key);
    if (!p) return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(p->data.data());
    return std::string(text, strnlen(text, p->data.size()));
}

std::optional<uint32_t> pipl::u32(const std::string& key) const {
    const pipl_property* p = find(key);
    if (!p || p->data.size() != 4) return std::nullopt;
    uint32_t value;
    std::memcpy(&value, p->data.data(), 4);
    return value;
}

pipl parsePipl(const uint8_t* data, size_t size) {
    reader in(data, size);
    pipl result;
    result.version = in.u32();
    const uint32_t count = in.u32();
    for (uint32_t i = 0; i < count; ++i) {
        pipl_property property;
        property.vendor = in.chars4();
        property.key = in.chars4();
        property.id = in.u32();
        const uint32_t length = in.u32();
        const uint8_t* bytes = in.take(length);
        property.data.assign(bytes, bytes + length);
        in.take((4 - length % 4) % 4);
        result.properties.push_back(std::move(property));
    }
    return result;
}

pipl readPipl(HMODULE module) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(16000), L"PIPL");
    if (!resource) throw std::runtime_error("the module has no PiPL resource");
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (!bytes) throw std::runtime_error("the PiPL resource cannot be read");
    return parsePipl(bytes, SizeofResource(module, resource));
}

}  // namespace hostsim
