// Values typed on the simulated host's command line: numbers, colours and 3-D points. Each parser throws
// std::invalid_argument with a message that quotes the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Comp.h"
#include "ae_effect.h"

namespace hostsim {

double parseNumber(std::string_view text);  // a finite decimal number
int parseInteger(std::string_view text);    // a whole number
PF_Pixel parseColor(std::string_view text);  // #RRGGBB, opaque
vec3 parseTriple(std::string_view text);     // x,y,z

// The parts of `text` between separators; an empty text has one empty part.
std::vector<std::string_view> split(std::string_view text, char separator);

}  // namespace hostsim
