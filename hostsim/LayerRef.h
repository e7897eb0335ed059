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

// The host's downsample factors: a frame at 1/x of the full resolution across and 1/y down. The host's
// custom resolutions skip pixels differently each way; one number is both.
struct downsample_factors {
    int x = 1, y = 1;
    constexpr downsample_factors() = default;
    constexpr downsample_factors(int both) : x(both), y(both) {}
    constexpr downsample_factors(int across, int down) : x(across), y(down) {}
    bool operator==(const downsample_factors&) const = default;
};

// A size as the host renders it at 1/factor of full resolution: rounded up, never below one pixel.
constexpr A_long downsampledSize(A_long size, int factor) {
    if (factor <= 1) return size;
    const A_long scaled = (size + factor - 1) / factor;
    return scaled > 1 ? scaled : 1;
}

}  // namespace hostsim
