// One channel of a pixel in the host's layout, as a number: 8-bit, 16-bit or float channels.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

inline double hostChannel(const std::vector<uint8_t>& bytes, size_t offset, uint32_t bytesPerChannel) {
    if (bytesPerChannel == 1) return bytes[offset];
    if (bytesPerChannel == 2) {
        uint16_t v;
        std::memcpy(&v, &bytes[offset], 2);
        return v;
    }
    float v;
    std::memcpy(&v, &bytes[offset], 4);
    return v;
}
