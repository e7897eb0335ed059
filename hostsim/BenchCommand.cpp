#include "BenchCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <windows.h>
#include <psapi.h>

#include "BenchReport.h"
#include "BenchStats.h"
#include "CommandSteps.h"
#include "DebugOutput.h"
#include "DemoScene.h"
#include "ParamText.h"
#include "RenderCommand.h"
#include "RenderOptions.h"
#include "SimulatedHost.h"

namespace hostsim {

namespace {

constexpr int multisampling = 4;
constexpr int blurSamples = 12;
// Every frame is rendered at the same time, so repeated frames draw the same picture.
constexpr double frameTime = 0;
constexpr const char* diffuseLayer = "Diffuse Layer";
constexpr const char* environmentLayer = "Environment Layer";

struct scene_plan {
    const char* id;
    const char* what;
    int width, height, bits, samples;
    bool maps, freshLayers;
};

struct bench_layers {
    AEGP_LayerIDVal environment = 0, diffuse = 0;
};

double nowMilliseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

process_memory processMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return {};
    return {counters.PeakWorkingSetSize, counters.PeakPagefileUsage};
}

int scaled(int size, double scale) { return std::max(16, static_cast<int>(std::lround(size * scale))); }

std::vector<scene_plan> scenePlans(double scale) {
    // The other sizes are made from the 1920x1080 one so their pixel counts stay exactly 1/4 and 4 times.
    const int w = scaled(1920, scale), h = scaled(1080, scale);
    return {
        {"hd", "no maps, 1 sample", w, h, 8, 1, false, false},
        {"hd_blur12", "no maps, 12 motion-blur samples", w, h, 8, blurSamples, false, false},
        {"sd", "no maps, 1 sample", w / 2, h / 2, 8, 1, false, false},
        {"uhd", "no maps, 1 sample", w * 2, h * 2, 8, 1, false, false},
        {"hd_maps_first", "environment + diffuse layers, first frame", w, h, 8, 1, true, true},
        {"hd_maps_unchanged", "environment + diffuse layers, unchanged", w, h, 8, 1, true, false},
        {"hd_float", "no maps, 1 sample", w, h, 32, 1, false, false},
    };
}

void setValue(SimulatedHost& host, const char* name, const std::string& value) {
    setParamFromText(host.params(), name, value);
}

void configure(SimulatedHost& host, const scene_plan& plan, const bench_layers& layers) {
    Comp& comp = host.comp();
    comp.width = plan.width;
    comp.height = plan.height;
    // The sphere covers the same share of every frame size.
    host.params().setPoint("Position", plan.width / 2.0, plan.height / 2.0, 0);
    setValue(host, "Radius", std::to_string(plan.height * 0.4));
    setValue(host, "Multisampling", std::to_string(multisampling));
    setValue(host, "Motion Blur", plan.samples > 1 ? "On" : "Off");
    if (plan.samples > 1) setValue(host, "Motion Blur Samples", std::to_string(plan.samples));
    host.setLayerParam(environmentLayer, plan.maps ? layers.environment : 0);
    host.setLayerParam(diffuseLayer, plan.maps ? layers.diffuse : 0);
}

// One frame's numbers.
struct frame_times {
    double smartRender = 0;
    std::map<std::string, double> stages;
    uint64_t outputBytes = 0;
};

class bench_run {
public:
    bench_run(SimulatedHost& host, DebugOutput& debug) : host_(host), debug_(debug) {}

    frame_times render(const scene_plan& plan) {
        debug_.clear();
        const rendered_frame frame = host_.renderFrame({frameTime, plan.bits, 1});
        if (frame.record.preRenderResult != PF_Err_NONE)
            throw std::runtime_error(std::string("scene ") + plan.id + ": SMART_PRE_RENDER failed with " +
                                     std::to_string(frame.record.preRenderResult));
        if (frame.record.renderResult != PF_Err_NONE)
            throw std::runtime_error(std::string("scene ") + plan.id + ": SMART_RENDER failed with " +
                                     std::to_string(frame.record.renderResult));
        const PF_EffectWorld& out = frame.output->def();
        return {frame.record.renderMilliseconds, stageTimes(debug_.lines()),
                static_cast<uint64_t>(out.rowbytes) * static_cast<uint64_t>(out.height)};
    }

private:
    SimulatedHost& host_;
    DebugOutput& debug_;
};

// Milliseconds of plain copies of `bytes` between two buffers that were touched first.
std::vector<double> memcpyTimes(uint64_t bytes, int copies) {
    std::vector<uint8_t> from(bytes, 0x5a), to(bytes, 0);
    std::memcpy(to.data(), from.data(), bytes);
    std::vector<double> times;
    volatile uint8_t sink = 0;
    for (int i = 0; i < copies; ++i) {
        from[static_cast<size_t>(i) % bytes] = static_cast<uint8_t>(i);
        const double start = nowMilliseconds();
        std::memcpy(to.data(), from.data(), bytes);
        times.push_back(nowMilliseconds() - start);
        sink = sink + to[static_cast<size_t>(i) % bytes];
    }
    return times;
}

scene_result sceneRecord(const scene_plan& plan) {
    scene_result scene;
    scene.id = plan.id;
    char label[128];
    std::snprintf(label, sizeof label, "%dx%d %d-bit, %s", plan.width, plan.height, plan.bits, plan.what);
    scene.label = label;
    scene.width = plan.width;
    scene.height = plan.height;
    scene.bits = plan.bits;
    scene.samples = plan.samples;
    scene.multisampling = multisampling;
    scene.maps = plan.maps;
    scene.freshLayers = plan.freshLayers;
    scene.stages = frameStages;
    if (plan.maps)
        for (const char* id : {"502", "517"}) scene.stages.push_back(std::string("Load Layer ") + id);
    return scene;
}

// A few frames of one scene, after one that is not counted (targets of a new size, first use of a program).
void measureFrames(SimulatedHost& host, bench_run& run, const scene_plan& plan, const bench_layers& layers, int frames,
                   scene_result& scene) {
    configure(host, plan, layers);
    run.render(plan);
    for (int i = 0; i < frames; ++i) {
        if (plan.freshLayers)  // the host reports the layers as changed: the effect uploads them again
            for (AEGP_LayerIDVal id : {layers.environment, layers.diffuse}) ++host.comp().layerById(id)->revision;
        const frame_times frame = run.render(plan);
        scene.smartRender.push_back(frame.smartRender);
        for (const auto& [name, ms] : frame.stages) scene.stageMs[name].push_back(ms);
        if (const auto it = frame.stages.find("Render"); it != frame.stages.end())
            scene.fixedMs.push_back(frame.smartRender - it->second);
        scene.outputBytes = frame.outputBytes;
    }
    scene.memoryAfter = processMemory();
}

// Every scene's frames, in rounds through all scenes: a change in the machine's load during the run then
// touches every scene alike instead of the one that was rendering.
std::vector<scene_result> measureScenes(SimulatedHost& host, bench_run& run, const std::vector<scene_plan>& plans,
                                        const bench_layers& layers, int repetitions) {
    std::vector<scene_result> scenes;
    for (const scene_plan& plan : plans) scenes.push_back(sceneRecord(plan));
    const int rounds = std::min(repetitions, 3);
    for (int round = 0; round < rounds; ++round) {
        // Frames of this round: the repetitions shared out, the first rounds taking any remainder.
        const int frames = repetitions / rounds + (round < repetitions % rounds ? 1 : 0);
        for (size_t i = 0; i < plans.size(); ++i) measureFrames(host, run, plans[i], layers, frames, scenes[i]);
        std::printf("bench: round %d of %d done\n", round + 1, rounds);
        std::fflush(stdout);
    }
    for (scene_result& scene : scenes) scene.memcpyMs = memcpyTimes(scene.outputBytes, std::max(repetitions, 5));
    return scenes;
}

double parseNumber(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(value > 0))
        throw usage_error(option + " \"" + text + "\": give a number above 0");
    return value;
}

}  // namespace

bench_options parseBenchOptions(const std::vector<std::string>& args) {
    bench_options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (++i >= args.size()) throw usage_error(arg + " needs a value");
            return args[i];
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--quick") {
            options.quick = true;
        } else if (arg == "--json") {
            options.json = value();
        } else if (arg == "--repeat") {
            const double n = parseNumber(arg, value());
            if (n != std::floor(n)) throw usage_error("--repeat \"" + args[i] + "\": give a whole number");
            options.repeat = static_cast<int>(n);
        } else if (arg == "--scale") {
            options.scale = parseNumber(arg, value());
        } else {
            throw usage_error("unknown option " + arg + " (see bench --help)");
        }
    }
    return options;
}

const char* benchHelp() {
    return "usage: pellux-host bench [--quick] [--repeat N] [--scale F] [--json FILE]\n"
           "Renders fixed scenes through the effect (4x multisampling; 1920x1080, 960x540 and 3840x2160 at 8 bits;\n"
           "12 motion-blur samples; a 2048x1024 environment and a 2048x2048 diffuse layer, new and unchanged;\n"
           "32-bit output) N times each, in up to three rounds through all scenes, each scene's frames of a round\n"
           "after one to warm up. Prints the median and range of the SMART_RENDER call and of each stage the\n"
           "effect times, the global set-up time, the peak memory, and the render path's targets with their ratios.\n"
           "  --quick       3 frames per scene instead of 9\n"
           "  --repeat N    N frames per scene\n"
           "  --scale F     every scene and layer at F times its size (F = 0.1 for a smoke run)\n"
           "  --json FILE   also write the results to FILE as JSON\n";
}

int benchCommand(const std::vector<std::string>& args) {
    const bench_options options = parseBenchOptions(args);
    if (options.help) {
        std::fputs(benchHelp(), stdout);
        return 0;
    }
    bench_report report;
    report.quick = options.quick;
    report.scale = options.scale;
    report.repetitions = options.repeat.value_or(options.quick ? 3 : 9);

    SimulatedHost host;
    DebugOutput debug;
    printLoaded(host);
    bench_layers layers;
    layers.environment =
        host.comp().addImage("Environment", skyWithSun(scaled(2048, options.scale), scaled(1024, options.scale))).id;
    layers.diffuse =
        host.comp().addImage("Diffuse", bandedPlanet(scaled(2048, options.scale), scaled(2048, options.scale))).id;

    const double start = nowMilliseconds();
    if (!sendStep(host, PF_Cmd_GLOBAL_SETUP, "global set-up")) return 1;
    report.globalSetupMs = nowMilliseconds() - start;
    if (!sendStep(host, PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP") || !sendStep(host, PF_Cmd_SEQUENCE_SETUP, "SEQUENCE_SETUP"))
        return 1;
    bool ok = true;
    try {
        // The sphere turns, so motion-blur samples differ as in a real shot.
        host.params().setRate("Rotation Y", 120);
        ok = sendStep(host, PF_Cmd_UPDATE_PARAMS_UI, "UPDATE_PARAMS_UI");
        bench_run run(host, debug);
        if (ok) report.scenes = measureScenes(host, run, scenePlans(options.scale), layers, report.repetitions);
    } catch (...) {
        host.send(PF_Cmd_SEQUENCE_SETDOWN);
        throw;
    }
    ok = sendStep(host, PF_Cmd_SEQUENCE_SETDOWN, "SEQUENCE_SETDOWN") && ok;
    ok = sendStep(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") && ok;
    report.memory = processMemory();
    for (const std::string& fault : host.params().faults()) std::fprintf(stderr, "pellux-host: %s\n", fault.c_str());
    if (!ok || !host.params().faults().empty()) return 1;

    const std::vector<target_result> targets = evaluateTargets(report);
    std::printf("\n%s", reportTable(report, targets).c_str());
    std::fflush(stdout);
    if (!options.json.empty()) {
        std::ofstream file(std::filesystem::path(widenPath(options.json)), std::ios::binary);
        file << reportJson(report, targets);
        if (!file.flush()) throw std::runtime_error("cannot write " + options.json);
        std::printf("bench: wrote %s\n", options.json.c_str());
    }
    return 0;
}

}  // namespace hostsim
