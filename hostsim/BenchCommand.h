// `pellux-host bench`: renders fixed scenes through the effect many times and reports the spread of the
// SMART_RENDER call and of every stage the effect times, the start-up time, the process's peak memory,
// and the render path's targets judged against reference costs measured in the same run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hostsim {

struct bench_options {
    bool help = false;
    bool quick = false;
    std::optional<int> repeat;  // frames measured per scene; unset: 3 with --quick, else 9
    double scale = 1;           // of every scene's and layer's size
    std::string json;           // where the JSON goes; empty: nowhere
};

// Throws usage_error.
bench_options parseBenchOptions(const std::vector<std::string>& args);
const char* benchHelp();

// pellux-host bench ARGS; throws usage_error for a mistake on the command line.
int benchCommand(const std::vector<std::string>& args);

}  // namespace hostsim
