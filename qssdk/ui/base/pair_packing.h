// Two int32 in one u64, the first in the low 32 bits: how events carry sizes and positions (width or x
// low, height or y high) and how the style tables write pairs.
#pragma once

#include <cstdint>

namespace qssdk::ui {

constexpr uint64_t pack_pair(int32_t low, int32_t high) {
    return static_cast<uint64_t>(static_cast<uint32_t>(low)) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
}

struct int32_pair {
    int32_t low = 0, high = 0;
};

constexpr int32_pair unpack_pair(uint64_t packed) {
    return {static_cast<int32_t>(packed & 0xFFFFFFFFu), static_cast<int32_t>(packed >> 32)};
}

}  // namespace qssdk::ui
