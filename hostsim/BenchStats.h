// The numbers of `pellux-host bench`: the spread of repeated timings, and the stage timings the effect
// writes to the debugger for one frame.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace hostsim {

struct spread {
    size_t count = 0;  // 0: nothing was measured, and the other fields are 0
    double median = 0, min = 0, max = 0;
};

spread spreadOf(std::vector<double> values);

// "NAME: X ms" lines by NAME, in milliseconds; a name that occurs more than once in the frame (a layer
// loaded for each motion-blur sample) adds up. Other lines are left out.
std::map<std::string, double> stageTimes(const std::vector<std::string>& lines);

}  // namespace hostsim
