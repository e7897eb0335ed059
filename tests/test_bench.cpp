// `pellux-host bench`: the timing lines it reads, the targets it judges, and a smoke run of the program.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "BenchCommand.h"
#include "BenchReport.h"
#include "BenchStats.h"
#include "ChildProcess.h"
#include "RenderOptions.h"
#include "TempFolder.h"
#include "utf.h"

namespace {

using namespace hostsim;

TEST(BenchStats, StageLinesAreReadByNameAndAddUpWithinAFrame) {
    const std::map<std::string, double> times = stageTimes({
        "Input Render: 1.50 ms",
        "Load Layer 502: 3.00 ms",
        "Render: 10.25 ms",
        "Load Layer 502: 1.25 ms",  // the second sample loads it again
        "Output Render: 0.75 ms",
        "Full Render: 15.00 ms",
        "## QS Pellux 1.0.2 (66)",
        "Render: soon ms",
        "build log: error: 3 ms later",
        ": 4.00 ms",
    });
    const std::map<std::string, double> expected = {{"Input Render", 1.5},  {"Load Layer 502", 4.25},
                                                    {"Render", 10.25},      {"Output Render", 0.75},
                                                    {"Full Render", 15.0}};
    EXPECT_EQ(times, expected);
}

TEST(BenchStats, MedianAndRange) {
    const spread odd = spreadOf({5, 1, 3});
    EXPECT_EQ(odd.count, 3u);
    EXPECT_EQ(odd.median, 3);
    EXPECT_EQ(odd.min, 1);
    EXPECT_EQ(odd.max, 5);
    EXPECT_EQ(spreadOf({4, 1, 2, 10}).median, 3);
    EXPECT_EQ(spreadOf({}).count, 0u);
}

scene_result scene(const char* id, std::vector<double> smartRender, std::vector<double> render, int samples = 1) {
    scene_result s;
    s.id = id;
    s.samples = samples;
    s.smartRender = std::move(smartRender);
    if (!render.empty()) s.stageMs["Render"] = render;
    for (size_t i = 0; i < render.size(); ++i) s.fixedMs.push_back(s.smartRender[i] - render[i]);
    return s;
}

const target_result& byName(const std::vector<target_result>& targets, const std::string& start) {
    for (const target_result& t : targets)
        if (t.name.rfind(start, 0) == 0) return t;
    throw std::out_of_range("no target " + start);
}

TEST(BenchTargets, RatiosAgainstTheirLimits) {
    bench_report report;
    report.scenes = {
        scene("hd", {100, 102, 98}, {80, 82, 78}),
        // 12 samples: 100 + 11 x 90 ms, the fixed part 20 ms as with one sample.
        scene("hd_blur12", {1090}, {1070}, 12),
        scene("sd", {40}, {30}),
        scene("uhd", {460}, {400}),
        scene("hd_maps_first", {300}, {200}),
        scene("hd_maps_unchanged", {105}, {85}),
    };
    report.scenes[0].stageMs["Output Render"] = {4, 4, 4};
    report.scenes[0].memcpyMs = {1, 1, 1};
    report.scenes[0].outputBytes = 8294400;
    const std::vector<target_result> targets = evaluateTargets(report);

    const target_result& unchanged = byName(targets, "Unchanged layers");
    ASSERT_TRUE(unchanged.ratio);
    EXPECT_DOUBLE_EQ(*unchanged.ratio, 1.05);
    EXPECT_EQ(unchanged.met(), true);

    const target_result& marginal = byName(targets, "Motion blur: one more sample");
    ASSERT_TRUE(marginal.ratio);
    EXPECT_DOUBLE_EQ(*marginal.ratio, 90.0 / 80.0);  // (1090 - 100) / 11 over the one-sample Render stage
    EXPECT_EQ(marginal.met(), false);
    EXPECT_DOUBLE_EQ(*byName(targets, "Motion blur: fixed").ratio, 1.0);

    EXPECT_DOUBLE_EQ(*byName(targets, "Resolution: 4x").ratio, 4.6);
    EXPECT_EQ(byName(targets, "Resolution: 4x").met(), false);
    EXPECT_EQ(byName(targets, "Resolution: 1/4").met(), false);  // 0.4 > 0.35

    const target_result& output = byName(targets, "Output stage vs memcpy, hd");
    ASSERT_TRUE(output.ratio);
    EXPECT_DOUBLE_EQ(*output.ratio, 0.25);
    EXPECT_FALSE(output.atMost);
    EXPECT_EQ(output.met(), false);

    // A scene that is missing, or one where the effect drew nothing, leaves its targets unmeasured.
    EXPECT_FALSE(byName(targets, "Output stage vs memcpy, uhd").ratio);  // no Output Render stage
    EXPECT_FALSE(byName(targets, "Output stage vs memcpy, hd_float").ratio);
    report.scenes[1].stageMs.clear();
    const target_result& blind = byName(evaluateTargets(report), "Motion blur: one more sample");
    EXPECT_FALSE(blind.met().has_value());
    EXPECT_NE(blind.why.find("no Render stage"), std::string::npos) << blind.why;
}

TEST(BenchOptions, ReadAndMistakesNamed) {
    const bench_options o = parseBenchOptions({"--quick", "--repeat", "4", "--scale", "0.5", "--json", "b.json"});
    EXPECT_TRUE(o.quick);
    EXPECT_EQ(o.repeat, 4);
    EXPECT_EQ(o.scale, 0.5);
    EXPECT_EQ(o.json, "b.json");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--repeat", "0"}, {"--repeat", "2.5"}, {"--scale", "-1"}, {"--json"}, {"--fast"}})
        EXPECT_THROW(parseBenchOptions(args), usage_error) << args[0];
}

// The scene objects of the JSON, by id, as text.
std::map<std::string, std::string> sceneBlocks(const std::string& json) {
    std::map<std::string, std::string> blocks;
    const std::regex id(R"re("id": "([a-z0-9_]+)")re");
    const size_t targets = json.find("\"targets\"");
    std::vector<std::pair<std::string, size_t>> starts;
    for (auto it = std::sregex_iterator(json.begin(), json.begin() + static_cast<long>(targets), id);
         it != std::sregex_iterator(); ++it)
        starts.push_back({(*it)[1], static_cast<size_t>(it->position())});
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t end = i + 1 < starts.size() ? starts[i + 1].second : targets;
        blocks[starts[i].first] = json.substr(starts[i].second, end - starts[i].second);
    }
    return blocks;
}

// How many frames a scene block says reported `name`; -1 when the key is missing.
int framesOf(const std::string& block, const std::string& name) {
    std::smatch m;
    if (!std::regex_search(block, m, std::regex("\"" + name + "\": \\{\"frames\": ([0-9]+)"))) return -1;
    return std::stoi(m[1]);
}

TEST(BenchProgram, AQuickRunWritesEverySceneAndStage) {
    TempFolder folder;
    const std::string json = qssdk::utf16_to_utf8(folder / L"bench.json");
    const child_result r =
        runChild(L"pellux-host.exe bench --quick --repeat 2 --scale 0.1 --json \"" + qssdk::utf8_to_utf16(json) + L"\"",
                 240000);
    ASSERT_FALSE(r.timedOut) << r.output;
    ASSERT_EQ(r.exitCode, 0u) << r.output;
    for (const char* column : {"SMART_RENDER", "Input Render", "Output Render", "Full Render", "Unchanged layers",
                               "Resolution: 4x the pixels", "Output stage vs memcpy", "Global set-up"})
        EXPECT_NE(r.output.find(column), std::string::npos) << column << "\n" << r.output;

    std::ifstream file(std::filesystem::path(qssdk::utf8_to_utf16(json)), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::map<std::string, std::string> scenes = sceneBlocks(text.str());
    for (const char* id : {"hd", "hd_blur12", "sd", "uhd", "hd_maps_first", "hd_maps_unchanged", "hd_float"}) {
        SCOPED_TRACE(id);
        ASSERT_EQ(scenes.count(id), 1u) << text.str();
        const std::string& block = scenes.at(id);
        EXPECT_EQ(framesOf(block, "smartRenderMs"), 2);
        // The effect times every stage of every frame.
        const int drawn = 2;
        for (const char* stage : {"Input Render", "Render", "Output Render", "Full Render"})
            EXPECT_EQ(framesOf(block, stage), drawn) << stage;
        // New layers are loaded in every frame, unchanged ones in none; scenes without maps list no loads.
        const std::string scene = id;
        const int loads = scene == "hd_maps_first" ? drawn : scene == "hd_maps_unchanged" ? 0 : -1;
        for (const char* stage : {"Load Layer 502", "Load Layer 517"}) EXPECT_EQ(framesOf(block, stage), loads) << stage;
        EXPECT_NE(block.find("\"memcpyMs\": {\"frames\": 5"), std::string::npos);
    }
    for (const char* key : {"\"globalSetupMs\": ", "\"peakWorkingSetBytes\": ", "\"targets\": ["})
        EXPECT_NE(text.str().find(key), std::string::npos) << key;
}

}  // namespace
