#include "BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "BenchStats.h"

namespace hostsim {

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

const scene_result* sceneById(const bench_report& report, const std::string& id) {
    for (const scene_result& scene : report.scenes)
        if (scene.id == id) return &scene;
    return nullptr;
}

target_result named(std::string name) {
    target_result t;
    t.name = std::move(name);
    return t;
}

double median(const std::vector<double>& values) { return spreadOf(values).median; }

const std::vector<double>& stage(const scene_result& scene, const std::string& name) {
    static const std::vector<double> none;
    const auto it = scene.stageMs.find(name);
    return it == scene.stageMs.end() ? none : it->second;
}

// The scenes a target compares, or the reason it cannot be measured.
std::string missing(const bench_report& report, std::initializer_list<const char*> ids) {
    for (const char* id : ids) {
        const scene_result* scene = sceneById(report, id);
        if (!scene || scene->smartRender.empty()) return std::string("scene ") + id + " was not rendered";
        if (stage(*scene, "Render").empty())
            return std::string("scene ") + id + ": the effect reported no Render stage (it drew nothing)";
    }
    return {};
}

std::string ms(double value) { return format("%.2f ms", value); }

target_result ratioTarget(const bench_report& report, std::string name, const char* of, const char* to,
                          std::optional<double> limit) {
    target_result t = named(std::move(name));
    t.limit = limit;
    t.why = missing(report, {of, to});
    if (!t.why.empty()) return t;
    const double a = median(sceneById(report, of)->smartRender), b = median(sceneById(report, to)->smartRender);
    t.measure = std::string(of) + " " + ms(a) + " / " + to + " " + ms(b);
    if (b > 0) t.ratio = a / b;
    return t;
}

target_result outputTarget(const bench_report& report, const char* id) {
    target_result t = named(std::string("Output stage vs memcpy, ") + id);
    t.limit = 0.30;
    t.atMost = false;
    t.why = missing(report, {id});
    if (!t.why.empty()) return t;
    const scene_result& scene = *sceneById(report, id);
    const std::vector<double>& output = stage(scene, "Output Render");
    if (output.empty() || scene.memcpyMs.empty()) {
        t.why = std::string("scene ") + id + ": no Output Render stage or no memcpy reference";
        return t;
    }
    const double out = median(output), copy = median(scene.memcpyMs);
    const double megabytes = static_cast<double>(scene.outputBytes) / (1024.0 * 1024.0);
    t.measure = format("%.1f MiB: ", megabytes) + "output " + ms(out) + format(" (%.2f GiB/s)", megabytes / 1024 / (out / 1000)) +
                ", memcpy " + ms(copy) + format(" (%.2f GiB/s)", megabytes / 1024 / (copy / 1000));
    if (out > 0) t.ratio = copy / out;
    return t;
}

// A plain text table: numbers right-aligned, the first column and free text (`textFrom` on) left-aligned.
std::string textTable(const std::vector<std::vector<std::string>>& rows, size_t textFrom = ~size_t{0}) {
    std::vector<size_t> widths;
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    std::string text;
    for (size_t r = 0; r < rows.size(); ++r) {
        std::string line;
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& cell = rows[r][c];
            const std::string pad(widths[c] - cell.size(), ' ');
            const bool left = c == 0 || c >= textFrom;
            line += (c == 0 ? "" : "  ") + (left ? cell + pad : pad + cell);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
        if (r == 0) {
            size_t total = 0;
            for (size_t w : widths) total += w + 2;
            text += std::string(total - 2, '-') + "\n";
        }
    }
    return text;
}

std::string cell(const std::vector<double>& values) {
    if (values.empty()) return "-";
    const spread s = spreadOf(values);
    return format("%.2f", s.median) + format(" [%.2f", s.min) + format("-%.2f]", s.max);
}

// The stage columns: the frame's stages, then any others the scenes reported, by name.
std::vector<std::string> stageColumns(const bench_report& report) {
    std::vector<std::string> columns = frameStages;
    std::set<std::string> others;
    for (const scene_result& scene : report.scenes) {
        for (const std::string& name : scene.stages) others.insert(name);
        for (const auto& [name, values] : scene.stageMs) others.insert(name);
    }
    for (const std::string& name : others)
        if (std::find(columns.begin(), columns.end(), name) == columns.end()) columns.push_back(name);
    return columns;
}

double mebibytes(uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

class json_writer {
public:
    std::string text;

    static std::string quoted(const std::string& s) {
        std::string q = "\"";
        for (const char c : s) {
            if (c == '"' || c == '\\') {
                q += '\\';
                q += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                q += escape;
            } else {
                q += c;
            }
        }
        return q + "\"";
    }
    static std::string number(double value) { return format("%.4f", value); }
    static std::string number(uint64_t value) { return std::to_string(value); }
    static std::string spreadObject(const std::vector<double>& values) {
        const spread s = spreadOf(values);
        if (s.count == 0) return "{\"frames\": 0, \"median\": null, \"min\": null, \"max\": null}";
        return "{\"frames\": " + std::to_string(s.count) + ", \"median\": " + number(s.median) +
               ", \"min\": " + number(s.min) + ", \"max\": " + number(s.max) + "}";
    }
    static std::string memory(const process_memory& m) {
        return "{\"peakWorkingSetBytes\": " + number(m.peakWorkingSet) + ", \"peakPagefileBytes\": " +
               number(m.peakPagefile) + "}";
    }
};

}  // namespace

std::vector<target_result> evaluateTargets(const bench_report& report) {
    std::vector<target_result> targets;

    targets.push_back(ratioTarget(report, "Unchanged layers cost no more than no maps", "hd_maps_unchanged", "hd", 1.1));
    targets.push_back(ratioTarget(report, "First frame with new layers (uploads, environment build)", "hd_maps_first",
                                  "hd", std::nullopt));

    target_result marginal = named("Motion blur: one more sample vs the one-sample Render stage");
    marginal.limit = 1.1;
    marginal.why = missing(report, {"hd_blur12", "hd"});
    if (marginal.why.empty()) {
        const scene_result& blur = *sceneById(report, "hd_blur12");
        const scene_result& one = *sceneById(report, "hd");
        const double tn = median(blur.smartRender), t1 = median(one.smartRender), render = median(stage(one, "Render"));
        const double perSample = (tn - t1) / std::max(blur.samples - 1, 1);
        marginal.measure = "(" + ms(tn) + " - " + ms(t1) + ") / " + std::to_string(blur.samples - 1) + " = " +
                           ms(perSample) + " / Render " + ms(render);
        if (render > 0) marginal.ratio = perSample / render;
    }
    targets.push_back(marginal);

    target_result fixed = named("Motion blur: fixed per-frame cost (SMART_RENDER less Render), 12 vs 1 sample");
    fixed.limit = 1.1;
    fixed.why = missing(report, {"hd_blur12", "hd"});
    if (fixed.why.empty()) {
        const double f12 = median(sceneById(report, "hd_blur12")->fixedMs), f1 = median(sceneById(report, "hd")->fixedMs);
        fixed.measure = ms(f12) + " / " + ms(f1);
        if (f1 > 0) fixed.ratio = f12 / f1;
    }
    targets.push_back(fixed);

    targets.push_back(ratioTarget(report, "Resolution: 4x the pixels", "uhd", "hd", 4.5));
    targets.push_back(ratioTarget(report, "Resolution: 1/4 of the pixels", "sd", "hd", 0.35));
    for (const char* id : {"hd", "uhd", "hd_float"}) targets.push_back(outputTarget(report, id));

    target_result setup = named("Global set-up (context, programs, kernels, mesh)");
    setup.measure = ms(report.globalSetupMs);
    targets.push_back(setup);
    return targets;
}

std::string reportTable(const bench_report& report, const std::vector<target_result>& targets) {
    const std::vector<std::string> columns = stageColumns(report);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header = {"scene (ms: median [min-max])", "frames", "SMART_RENDER"};
    header.insert(header.end(), columns.begin(), columns.end());
    rows.push_back(header);
    for (const scene_result& scene : report.scenes) {
        std::vector<std::string> row = {scene.label, std::to_string(scene.smartRender.size()), cell(scene.smartRender)};
        for (const std::string& name : columns) row.push_back(cell(stage(scene, name)));
        rows.push_back(row);
    }
    std::string text = textTable(rows);
    text += format("\nglobal set-up: %.2f ms", report.globalSetupMs) +
            format("; peak working set %.1f MiB", mebibytes(report.memory.peakWorkingSet)) +
            format(", peak pagefile usage %.1f MiB\n\n", mebibytes(report.memory.peakPagefile));

    std::vector<std::vector<std::string>> targetRows = {{"target", "ratio", "limit", "met", "measured"}};
    for (const target_result& t : targets) {
        const std::optional<bool> met = t.met();
        targetRows.push_back({t.name, t.ratio ? format("%.3f", *t.ratio) : "-",
                              t.limit ? (t.atMost ? "<= " : ">= ") + format("%.2f", *t.limit) : "-",
                              !t.why.empty() || (t.limit && !met) ? "not measured"
                              : !t.limit                          ? "reported"
                              : *met                              ? "yes"
                                                                  : "NO",
                              t.why.empty() ? t.measure : t.why});
    }
    return text + textTable(targetRows, 3);
}

std::string reportJson(const bench_report& report, const std::vector<target_result>& targets) {
    using j = json_writer;
    std::string t = "{\n";
    t += "  \"quick\": " + std::string(report.quick ? "true" : "false") + ",\n";
    t += "  \"scale\": " + j::number(report.scale) + ",\n";
    t += "  \"repetitions\": " + std::to_string(report.repetitions) + ",\n";
    t += "  \"globalSetupMs\": " + j::number(report.globalSetupMs) + ",\n";
    t += "  \"memory\": " + j::memory(report.memory) + ",\n";
    t += "  \"scenes\": [";
    for (size_t i = 0; i < report.scenes.size(); ++i) {
        const scene_result& s = report.scenes[i];
        t += i ? ",\n" : "\n";
        t += "    {\n";
        t += "      \"id\": " + j::quoted(s.id) + ",\n";
        t += "      \"label\": " + j::quoted(s.label) + ",\n";
        t += "      \"width\": " + std::to_string(s.width) + ", \"height\": " + std::to_string(s.height) +
             ", \"bits\": " + std::to_string(s.bits) + ", \"samples\": " + std::to_string(s.samples) +
             ", \"multisampling\": " + std::to_string(s.multisampling) + ",\n";
        t += "      \"maps\": " + std::string(s.maps ? "true" : "false") + ", \"freshLayers\": " +
             std::string(s.freshLayers ? "true" : "false") + ",\n";
        t += "      \"smartRenderMs\": " + j::spreadObject(s.smartRender) + ",\n";
        t += "      \"fixedMs\": " + j::spreadObject(s.fixedMs) + ",\n";
        std::vector<std::string> names = frameStages;
        for (const std::string& name : s.stages)
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        for (const auto& [name, values] : s.stageMs)
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        t += "      \"stages\": {";
        for (size_t n = 0; n < names.size(); ++n)
            t += (n ? ",\n        " : "\n        ") + j::quoted(names[n]) + ": " + j::spreadObject(stage(s, names[n]));
        t += "\n      },\n";
        t += "      \"outputBytes\": " + j::number(s.outputBytes) + ",\n";
        t += "      \"memcpyMs\": " + j::spreadObject(s.memcpyMs) + ",\n";
        t += "      \"memoryAfter\": " + j::memory(s.memoryAfter) + "\n";
        t += "    }";
    }
    t += "\n  ],\n";
    t += "  \"targets\": [";
    for (size_t i = 0; i < targets.size(); ++i) {
        const target_result& g = targets[i];
        const std::optional<bool> met = g.met();
        t += i ? ",\n" : "\n";
        t += "    {\"name\": " + j::quoted(g.name) + ", \"ratio\": " + (g.ratio ? j::number(*g.ratio) : "null") +
             ", \"limit\": " + (g.limit ? j::number(*g.limit) : "null") + ", \"comparison\": " +
             (g.limit ? j::quoted(g.atMost ? "<=" : ">=") : "null") + ", \"met\": " +
             (met ? (*met ? "true" : "false") : "null") + ",\n     \"measure\": " + j::quoted(g.measure) +
             ", \"why\": " + j::quoted(g.why) + "}";
    }
    t += "\n  ]\n}\n";
    return t;
}

}  // namespace hostsim
