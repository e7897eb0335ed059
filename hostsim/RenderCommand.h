// Rendering frames through the effect from the command line: `pellux-host render` and the demo scene
// share the run of a render plan.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SimulatedHost.h"

namespace hostsim {

// One frame the host renders and the picture file it writes.
struct frame_output {
    std::optional<int> frame;  // a frame number, timed by the comp's frame rate
    double seconds = 0;        // the time when no frame number is given
    std::string file;
};

// The one frame of a plan that renders a single frame.
std::function<std::optional<frame_output>(size_t index)> singleFrame(frame_output out);

struct render_plan {
    int depth = 8;  // 8 and 16 write PNGs of that depth; a .pfm file is a float map at any depth
    downsample_factors downsample;
    bool sparseLayers = false;  // map layers handed over trimmed to their content
    bool hostReport = false;  // after each frame, its pixel checkouts by checkout id and its layer renders
    // The i-th frame to render, or nothing after the last: frames are made as they are rendered, so a
    // long range takes no room up front.
    std::function<std::optional<frame_output>(size_t index)> frame;
    std::function<void(SimulatedHost&)> stageComp;  // before global set-up: comp, camera, lights, image layers
    std::function<void(SimulatedHost&)> setValues;  // after SEQUENCE_SETUP, before UPDATE_PARAMS_UI
};

// Sets the effect up (GLOBAL_SETUP, PARAMS_SETUP, SEQUENCE_SETUP), sets the values, sends UPDATE_PARAMS_UI,
// renders and writes each frame and prints the debugger lines the effect wrote for it, then sets the
// effect down. Returns the exit code; throws std::exception for a failure that ends the run.
int runPlan(SimulatedHost& host, const render_plan& plan);

struct render_options;
// What the command line asks for, as a plan; its pictures are read now. The plan refers to `options`,
// which must outlive it.
render_plan renderPlan(const render_options& options);

// pellux-host render ARGS; throws usage_error for a mistake on the command line.
int renderCommand(const std::vector<std::string>& args);

// A path typed on the command line, for the file functions.
std::wstring widenPath(const std::string& path);

}  // namespace hostsim
