// The parameter list as the host received it, one tab-separated line per parameter from index 1:
// index, disk id, type, name, valid min, valid max, slider min, slider max, default, precision,
// flags (hex) and a popup's choices. Fields that do not apply are empty.
#pragma once

#include <string>

#include "ParamStore.h"

namespace hostsim {

std::string paramListing(const ParamStore& params);

}  // namespace hostsim
