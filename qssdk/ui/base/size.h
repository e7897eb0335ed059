// Integer size of the UI kit, in device-independent pixels.
#pragma once

#include <cstdint>

namespace qssdk::ui {

struct size {
    int32_t width = 0, height = 0;

    constexpr bool operator==(const size&) const = default;
};

}  // namespace qssdk::ui
