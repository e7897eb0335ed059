// Integer point of the UI kit, in device-independent pixels.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct point {
    int32_t x = 0, y = 0;

    constexpr bool operator==(const point&) const = default;
};

}  // namespace qssdk::ui
