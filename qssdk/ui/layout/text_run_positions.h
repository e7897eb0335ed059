// The HTML parser counts run bounds in bytes of the UTF-8 text, while the render context places runs by
// UTF-16 positions of the whole text: the two differ once the text holds a character beyond ASCII.
#pragma once

#include <string_view>
#include <vector>

#include "text_run.h"

namespace qssdk::ui {

// The runs with each bound moved to the UTF-16 position of the same place in the text, as the text's
// conversion counts it (malformed bytes included). Bounds stay in order and within the converted text.
std::vector<text_run> runs_in_utf16_positions(std::string_view text, std::vector<text_run> runs);

}  // namespace qssdk::ui
