// One styled range of a label's text: what the HTML subset parser makes and the render context draws and
// measures. The range counts bytes of the UTF-8 text as the parser appends it.
#pragma once

#include <cstdint>
#include <string>

#include "color.h"

namespace qssdk::ui {

// Painter weight codes of a run.
inline constexpr uint32_t font_weight_normal = 0;
inline constexpr uint32_t font_weight_light = 1;
inline constexpr uint32_t font_weight_bold = 2;

// Painter style codes of a run.
inline constexpr uint32_t font_style_normal = 0;
inline constexpr uint32_t font_style_italic = 1;

struct text_run {
    uint32_t weight = font_weight_normal;
    uint32_t style = font_style_normal;
    bool underline = false;
    std::string font_name;
    float size = 0.0f;  // device-independent pixels
    uint32_t start = 0;
    uint32_t end = 0;  // one past the last byte
    qssdk::ui::color color;  // (0, 0, 0, 0): the label's own text colour applies
    std::string href;  // empty when the run is not a link

    bool operator==(const text_run&) const = default;
};

}  // namespace qssdk::ui
