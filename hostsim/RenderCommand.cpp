#include "RenderCommand.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <windows.h>

#include "CommandSteps.h"
#include "DebugOutput.h"
#include "ParamText.h"
#include "RenderOptions.h"

namespace hostsim {

namespace {

// What the host did for the frame, by the effect's checkout ids and the comp's layers.
void printHostReport(SimulatedHost& host, const frame_record& record) {
    for (const frame_record::checkout& c : record.layerCheckouts)
        std::printf("  checkout %d: result %d,%d-%d,%d of reference %dx%d\n", static_cast<int>(c.id),
                    static_cast<int>(c.result.left), static_cast<int>(c.result.top), static_cast<int>(c.result.right),
                    static_cast<int>(c.result.bottom), static_cast<int>(c.refWidth), static_cast<int>(c.refHeight));
    for (A_long id : record.checkoutIds())
        std::printf("  checkout %d: %d pixel checkouts\n", static_cast<int>(id),
                    static_cast<int>(std::count(record.pixelCheckouts.begin(), record.pixelCheckouts.end(), id)));
    for (const auto& [id, renders] : record.layerRenders) {
        const comp_layer* layer = host.comp().layerById(id);
        std::printf("  layer %s: %d renders\n", layer ? layer->name.c_str() : "?", renders);
    }
}

// The frame's failure, with what the effect showed and wrote and the host's rules it broke.
std::string failure(SimulatedHost& host, const std::string& what, PF_Err code, const frame_record& record,
                    DebugOutput& debug) {
    std::string text = what + " failed with " + std::to_string(code) + shownDialogs(host, &debug);
    for (const std::string& fault : record.faults) text += "\n  the host refused: " + fault;
    return text;
}

void renderFrames(SimulatedHost& host, const render_plan& plan, DebugOutput& debug) {
    for (size_t index = 0;; ++index) {
        const std::optional<frame_output> next = plan.frame(index);
        if (!next) break;
        const frame_output& out = *next;
        const double seconds = out.frame ? *out.frame / host.comp().frameRate : out.seconds;
        const std::string label = out.frame ? "frame " + std::to_string(*out.frame) : "the frame";
        debug.clear();
        host.dialogs().clear();
        frame_request request{seconds, plan.depth, plan.downsample};
        request.sparseLayers = plan.sparseLayers;
        const rendered_frame frame = host.renderFrame(request);
        if (frame.record.preRenderResult != PF_Err_NONE)
            throw std::runtime_error(
                failure(host, label + ": SMART_PRE_RENDER", frame.record.preRenderResult, frame.record, debug));
        if (frame.record.renderResult != PF_Err_NONE)
            throw std::runtime_error(
                failure(host, label + ": SMART_RENDER", frame.record.renderResult, frame.record, debug));
        frame.output->toImage().save(widenPath(out.file), plan.depth == 16 ? 16 : 8);
        std::printf("%s at %.3f s: %dx%d, %d bits -> %s\n", label.c_str(), seconds,
                    static_cast<int>(frame.output->def().width), static_cast<int>(frame.output->def().height),
                    plan.depth, out.file.c_str());
        const std::vector<std::string> lines = debug.lines();
        for (const std::string& line : lines) std::printf("  %s\n", line.c_str());
        if (lines.empty()) std::printf("  (no debugger output)\n");
        if (plan.hostReport) printHostReport(host, frame.record);
        std::fflush(stdout);
    }
}


}  // namespace

std::function<std::optional<frame_output>(size_t index)> singleFrame(frame_output out) {
    return [out](size_t index) { return index == 0 ? std::optional<frame_output>(out) : std::nullopt; };
}

render_plan renderPlan(const render_options& options) {
    render_plan plan;
    plan.depth = options.depth;
    plan.downsample = options.downsample;
    plan.sparseLayers = options.sparseLayers;
    plan.hostReport = options.hostReport;
    if (options.frames) {
        plan.frame = [first = options.frames->first, last = options.frames->second,
                      out = options.out](size_t index) -> std::optional<frame_output> {
            // Counted in 64 bits, so a range that ends at the largest frame number ends.
            const int64_t number = first + static_cast<int64_t>(index);
            if (number > last) return std::nullopt;
            const int frame = static_cast<int>(number);
            return frame_output{frame, 0, frameFileName(out, frame)};
        };
    } else {
        plan.frame = singleFrame({std::nullopt, options.time, options.out});
    }

    struct picture {
        const layer_option* option;
        Image image;
        AEGP_LayerIDVal id = 0;
    };
    auto pictures = std::make_shared<std::vector<picture>>();
    for (const layer_option& layer : options.layers) {
        const std::wstring path = widenPath(layer.file);
        const std::string where = "--layer \"" + layer.param + "=" + layer.file + "\": ";
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            throw std::runtime_error(where + "no file " + layer.file);
        try {
            pictures->push_back({&layer, Image::load(path)});
        } catch (const std::exception& error) {
            throw std::runtime_error(where + error.what());
        }
    }

    plan.stageComp = [&options, pictures](SimulatedHost& host) {
        Comp& comp = host.comp();
        comp.width = options.width;
        comp.height = options.height;
        comp.pixelAspect = options.pixelAspect;
        comp.shutterAngle = options.shutterAngle;
        comp.shutterPhase = options.shutterPhase;
        comp.motionBlur = options.compMotionBlur;
        comp.effectLayer().motionBlur = true;
        comp.effectLayer().inPoint = options.layerStart;
        const vec3 centre{comp.width / 2.0, comp.height / 2.0, 0};
        if (options.camera) {
            camera_settings camera = options.camera->settings;
            camera.position = options.camera->position.value_or(
                vec3{centre.x, centre.y, -(camera.zoom > 0 ? camera.zoom : comp.cameraZoom(nullptr))});
            camera.pointOfInterest = options.camera->pointOfInterest.value_or(centre);
            comp.addCamera(camera);
        }
        for (const light_option& option : options.lights) {
            light_settings light = option.settings;
            light.position = option.position.value_or(vec3{0, 0, -comp.width / 2.0});
            light.pointOfInterest = option.pointOfInterest.value_or(centre);
            comp_layer& layer = comp.addLight(light);
            if (option.inPoint) layer.inPoint = *option.inPoint;
            if (option.duration) layer.duration = *option.duration;
        }
        for (picture& p : *pictures) p.id = comp.addImage(p.option->file, p.image).id;
    };
    plan.setValues = [&options, pictures](SimulatedHost& host) {
        for (const picture& p : *pictures) {
            try {
                host.setLayerParam(p.option->param, p.id);
            } catch (const std::invalid_argument& error) {
                throw std::runtime_error("--layer \"" + p.option->param + "=" + p.option->file + "\": " + error.what());
            }
        }
        for (const auto& [name, value] : options.settings) {
            try {
                setParamFromText(host.params(), name, value);
            } catch (const std::invalid_argument& error) {
                throw std::runtime_error("--set \"" + name + "=" + value + "\": " + error.what());
            }
        }
    };
    return plan;
}

std::wstring widenPath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

int runPlan(SimulatedHost& host, const render_plan& plan) {
    DebugOutput debug;
    if (plan.stageComp) plan.stageComp(host);
    if (!sendStep(host, PF_Cmd_GLOBAL_SETUP, "global set-up", &debug) ||
        !sendStep(host, PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP", &debug) ||
        !sendStep(host, PF_Cmd_SEQUENCE_SETUP, "SEQUENCE_SETUP", &debug))
        return 1;
    bool ok = true;
    try {
        if (plan.setValues) plan.setValues(host);
        ok = sendStep(host, PF_Cmd_UPDATE_PARAMS_UI, "UPDATE_PARAMS_UI");
        if (ok) renderFrames(host, plan, debug);
    } catch (...) {
        host.send(PF_Cmd_SEQUENCE_SETDOWN);
        throw;
    }
    ok = sendStep(host, PF_Cmd_SEQUENCE_SETDOWN, "SEQUENCE_SETDOWN") && ok;
    ok = sendStep(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") && ok;
    for (const std::string& fault : host.params().faults()) std::fprintf(stderr, "pellux-host: %s\n", fault.c_str());
    return ok && host.params().faults().empty() ? 0 : 1;
}

int renderCommand(const std::vector<std::string>& args) {
    const render_options options = parseRenderOptions(args);
    if (options.help) {
        std::fputs(renderHelp(), stdout);
        return 0;
    }
    const render_plan plan = renderPlan(options);
    SimulatedHost host;
    return runPlan(host, plan);
}

}  // namespace hostsim
