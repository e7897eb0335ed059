// What `pellux-host bench` measured, the targets judged from it, and the two ways it is shown: a table
// for people and a JSON file for tools.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

// The stages of a frame the effect times on the debugger, in the order they happen.
inline const std::vector<std::string> frameStages = {"Input Render", "Render", "Output Render", "Full Render"};

struct process_memory {
    uint64_t peakWorkingSet = 0;  // bytes
    uint64_t peakPagefile = 0;
};

struct scene_result {
    std::string id;     // a short key: "hd", "hd_blur12", ...
    std::string label;  // for people
    int width = 0, height = 0, bits = 8, samples = 1, multisampling = 0;
    bool maps = false;         // the environment and diffuse layers are set
    bool freshLayers = false;  // the layers change before every frame
    // The stages this scene is expected to report; any other the effect reports is kept as well.
    std::vector<std::string> stages;
    std::vector<double> smartRender;                     // milliseconds of each frame's SMART_RENDER call
    std::map<std::string, std::vector<double>> stageMs;  // milliseconds of each frame that reported the stage
    // Per frame: SMART_RENDER less the "Render" stage, for the frames that reported it.
    std::vector<double> fixedMs;
    uint64_t outputBytes = 0;  // the output world's bytes (row bytes x height)
    std::vector<double> memcpyMs;  // copies of outputBytes with memcpy in this process
    process_memory memoryAfter;    // the process's peaks once the scene was rendered
};

struct bench_report {
    bool quick = false;
    double scale = 1;
    int repetitions = 0;
    double globalSetupMs = 0;
    std::vector<scene_result> scenes;
    process_memory memory;  // the whole run's peaks
};

struct target_result {
    std::string name;
    std::string measure;           // how the ratio is formed, with the values used
    std::optional<double> ratio;   // unset: not measured (see `why`)
    std::optional<double> limit;   // unset: reported only
    bool atMost = true;            // ratio <= limit, else ratio >= limit
    std::string why;               // why a target could not be measured
    std::optional<bool> met() const {
        if (!ratio || !limit) return std::nullopt;
        return atMost ? *ratio <= *limit : *ratio >= *limit;
    }
};

// The targets the render path is held to, from the report's scenes by id ("hd", "hd_blur12", "sd",
// "uhd", "hd_maps_first", "hd_maps_unchanged", "hd_float"); a scene that is missing or drew nothing
// leaves its targets unmeasured.
std::vector<target_result> evaluateTargets(const bench_report& report);

std::string reportTable(const bench_report& report, const std::vector<target_result>& targets);
std::string reportJson(const bench_report& report, const std::vector<target_result>& targets);

}  // namespace hostsim
