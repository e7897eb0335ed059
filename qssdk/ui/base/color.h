// RGBA colour of the UI kit, four floats on the scale 0..1, never clamped.
#pragma once

namespace qssdk::ui {

struct color {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

    constexpr color() = default;
    constexpr color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    // All four channels, alpha included: color(0.0f) is transparent black, color(1.0f) opaque white.
    constexpr explicit color(float v) : r(v), g(v), b(v), a(v) {}

    constexpr bool operator==(const color&) const = default;
};

}  // namespace qssdk::ui
