// A rectangle as four float edges, the form drawing calls take: a kit rect {x, y, w, h} becomes
// (x, y, x + w, y + h).
#pragma once

#include "rect.h"

namespace qssdk::ui {

struct float_box {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;

    constexpr bool operator==(const float_box&) const = default;
};

constexpr float_box to_box(const rect& r) {
    return {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.x + r.width),
            static_cast<float>(r.y + r.height)};
}

}  // namespace qssdk::ui
