// A layer of the simulated host as a parameter or the effect sees it: which layer, and its size.
#pragma once

#include "ae_suites.h"

namespace hostsim {

struct layer_ref {
    AEGP_LayerIDVal id = 0;  // 0: no layer
    A_long width = 0;
    A_long height = 0;
};

}  // namespace hostsim
