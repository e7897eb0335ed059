// Sets one of the effect's parameters from text, by the display name the effect declared: floats and
// angles (degrees) as numbers, colours as #RRGGBB, check boxes as 0 or 1, popups by choice text or by
// number (a choice text wins: "4" in "0|2|4|8|16" is the third choice), points as x,y,z in layer
// pixels. Throws std::invalid_argument naming what is wrong.
#pragma once

#include <string_view>

#include "ParamStore.h"

namespace hostsim {

void setParamFromText(ParamStore& params, std::string_view name, std::string_view text);

}  // namespace hostsim
