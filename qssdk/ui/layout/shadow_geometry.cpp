// The drop shadow's fade and boxes.
#include "shadow_geometry.h"

#include <cmath>

namespace qssdk::ui {

namespace {

constexpr float stop_spacing = 0.04761905f;  // 1 / 21
constexpr float fade_exponent = -1.3888888f;
constexpr int32_t reach_numerator = 7;
constexpr int32_t reach_denominator = 10;

}  // namespace

float shadow_stop_position(int i) { return static_cast<float>(i) * stop_spacing; }

float shadow_stop_alpha(int i) {
    const float t = 0.1f * static_cast<float>(i);
    return std::pow(3.0f, fade_exponent * t * t);
}

shadow_layout make_shadow_layout(const rect& child, int32_t dx, int32_t dy, uint32_t size) {
    const auto f = [](int32_t v) { return static_cast<float>(v); };
    const int32_t s = static_cast<int32_t>(size);
    const int32_t k = static_cast<int32_t>((reach_numerator * size) / reach_denominator);
    const int32_t l = child.x + dx - k;
    const int32_t t = child.y + dy - k;
    const int32_t r = child.x + dx + child.width + k;
    const int32_t b = child.y + dy + child.height + k;
    const float radius = f(s);

    shadow_layout out;
    out.corners = {{
        {{f(r - s), f(b - s), f(r), f(b)}, f(r - s), f(b - s), radius},
        {{f(r - s), f(t), f(r), f(t + s)}, f(r - s), f(t + s), radius},
        {{f(l), f(b - s), f(l + s), f(b)}, f(l + s), f(b - s), radius},
        {{f(l), f(t), f(l + s), f(t + s)}, f(l + s), f(t + s), radius},
    }};
    // Each band's fade runs across it, from the inner side outwards; the other coordinate is unused
    // by the fade and kept at the band's own start.
    out.bands = {{
        {{f(l), f(t + s), f(l + s), f(b - s)}, f(l + s), f(t + s), f(l), f(t + s)},
        {{f(l + s), f(t), f(r - s), f(t + s)}, f(l + s), f(t + s), f(l + s), f(t)},
        {{f(r - s), f(t + s), f(r), f(b - s)}, f(r - s), f(t + s), f(r), f(t + s)},
        {{f(l + s), f(b - s), f(r - s), f(b)}, f(l + s), f(b - s), f(l + s), f(b)},
    }};
    out.inner = {f(l + s), f(t + s), f(r - s), f(b - s)};
    return out;
}

}  // namespace qssdk::ui
