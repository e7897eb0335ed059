// One styled range of a text: made by the text label from its HTML subset, drawn and measured by the
// render context.
#pragma once

#include <cstdint>
#include <string>

#include "color.h"

namespace qssdk::ui {

struct text_run {
    uint32_t weight = 0;  // painter weight code (text_codes.h)
    uint32_t style = 0;   // painter style code
    bool underline = false;
    std::string font_name;  // UTF-8; empty keeps the current family
    float size = 12.0f;     // device-independent pixels
    // [start, end) in UTF-16 positions of the whole text.
    uint32_t start = 0;
    uint32_t end = 0;
    // All four channels 0: the run has no colour of its own and takes the text colour.
    qssdk::ui::color color;
    std::string href;  // link address, empty when the run is no link
};

}  // namespace qssdk::ui
