// Layout arithmetic runs in 64 bits or in floating point so that sums and quotients of widget sizes
// cannot overflow; results come back into the kit's int32 coordinates through these, pinned at the ends
// of the range.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qssdk::ui {

constexpr int32_t saturate_int32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Truncated toward zero and pinned to the int32 range; NaN gives 0.
inline int32_t truncate_to_int32(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(v), static_cast<double>(std::numeric_limits<int32_t>::min()),
                                           static_cast<double>(std::numeric_limits<int32_t>::max())));
}

}  // namespace qssdk::ui
