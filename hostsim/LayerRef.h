// A layer of the simulated host as a parameter or the effect sees it: which layer, and its size.
#pragma once

#include "ae_suites.h"

namespace hostsim {

struct layer_ref {
    AEGP_LayerIDVal id = 0;  // 0: no layer
    A_long width = 0;
    A_long height = 0;

    bool operator==(const layer_ref&) const = default;
};

// A size as the host renders it at 1/factor of full resolution: rounded up, never below one pixel.
constexpr A_long downsampledSize(A_long size, int factor) {
    if (factor <= 1) return size;
    const A_long scaled = (size + factor - 1) / factor;
    return scaled > 1 ? scaled : 1;
}

}  // namespace hostsim
