// AePluginConnection::smartRender: the frame's job sequence on the renderer thread.
#include <functional>
#include <stdexcept>
#include <string>

#include "AePluginConnection.h"
#include "HandleLock.h"
#include "ParamIds.h"
#include "ParamRegistry.h"
#include "ParameterGather.h"
#include "Renderer.h"
#include "SceneCapture.h"
#include "SceneRenderer.h"
#include "SequenceData.h"
#include "layer_texture_cache.h"
#include "SmartRender.h"
#include "Timing.h"

namespace {

// Puts the host's current time back and unlocks the sequence data however the frame ends.
class frame_scope {
public:
    frame_scope(PF_InData& in) : in_(in), time_(in.current_time), lock_(in.utils, in.sequence_data) {
        if (lock_.data()) cache_ = sequence::cacheIn(*in.utils, in.sequence_data, lock_.data());
    }
    ~frame_scope() { in_.current_time = time_; }
    frame_scope(const frame_scope&) = delete;
    frame_scope& operator=(const frame_scope&) = delete;

    layer_texture_cache* cache() const { return cache_; }
    A_long time() const { return time_; }

private:
    PF_InData& in_;
    A_long time_;
    HandleLock lock_;  // unlocked after the time is put back
    layer_texture_cache* cache_ = nullptr;  // null when the sequence data cannot hold a cache
};

// The textures of a frame-local cache, deleted however the frame ends: after a refused frame the renderer
// lives on, and nothing else would ever delete them. An unused cache costs no job.
class frame_local_textures {
public:
    frame_local_textures(RendererThread& thread, const layer_texture_cache& cache) : thread_(thread), cache_(cache) {}
    ~frame_local_textures() {
        try {
            for (const layer_cache_entry& entry : cache_.entries)
                if (entry.texture != 0) thread_.deleteTexture(entry.texture);
        } catch (...) {
            // A delete job that fails has ended the renderer thread, and its textures with it.
        }
    }
    frame_local_textures(const frame_local_textures&) = delete;
    frame_local_textures& operator=(const frame_local_textures&) = delete;

private:
    RendererThread& thread_;
    const layer_texture_cache& cache_;
};

}  // namespace

void AePluginConnection::smartRender(command_context& context) {
    // Once a job has failed the renderer thread has ended for good: a frame drawn now would come back
    // empty, so it is refused as when there is no renderer at all.
    if (!renderer_ || renderer_->thread().hasEnded()) {
        context.err = PF_Interrupt_CANCEL;
        return;
    }
    const int64_t t0 = timing::nowNanoseconds();
    reserveParamTables();
    PF_InData& in = *context.in_data;
    frame_scope scope(in);
    // An instance without usable sequence data keeps its textures for one frame only.
    layer_texture_cache fallback{};
    layer_texture_cache& cache = scope.cache() ? *scope.cache() : fallback;
    const frame_local_textures fallbackTextures(renderer_->thread(), fallback);

    const motion_blur blur = motionBlurSettings(context);
    compositeCounter_ = 1.0f;
    const int32_t choice = readIntParam(context, param::multisampling);
    const unsigned multisample = choice <= param::multisamplingNone ? 0u : 1u << (choice - 1);

    RendererThread& thread = renderer_->thread();
    Renderer* renderer = thread.renderer();
    // Refused here, the frame fails alone; a begin-frame job that failed would end the renderer thread.
    const std::string problem = outputSizeProblem(renderer->renderTargets().limits(), frame().output, multisample);
    if (!problem.empty()) throw std::runtime_error(problem);
    thread.postAndWait(std::bind(&Renderer::beginFrame, renderer, multisample, std::cref(frame())));
    OutputDebugStringA(qssdk::format_string("Input Render: %.2f ms\n", timing::elapsedMilliseconds(t0)).c_str());
    const int64_t t1 = timing::nowNanoseconds();

    const void* extents = static_cast<PF_SmartRenderExtra*>(context.extra)->input->pre_render_data;
    frame_layer_pixels layerPixels(static_cast<const frame_layer_extents*>(extents));
    for (uint32_t i = 0; i < blur.samples; ++i) {
        in.current_time = sampleTime(scope.time(), in.local_time_step, blur, i);
        render_properties view{};
        captureCamera(frame(), view, context);
        view.time = static_cast<float>(in.current_time) / static_cast<float>(in.time_scale);
        renderer_->setRenderProperties(view);

        gathered_parameters gathered;
        gatherParameters(frame(), *renderer_, gathered, context, cache, layerPixels);
        renderer_->objectType = gathered.objectType;
        renderer_->position[0] = gathered.position.x;
        renderer_->position[1] = gathered.position.y;
        renderer_->position[2] = gathered.position.z;
        renderer_->position[3] = gathered.position.w;
        renderer_->rotation = gathered.rotation;
        renderer_->scale = gathered.scale;
        renderer_->outputGamma = gathered.outputGamma;
        renderer_->material = gathered.material;
        renderer_->lights = std::move(gathered.lights);
        thread.postAndWait(std::bind(&Renderer::setLights, renderer, std::cref(renderer_->lights)));
        drawSampleJobs();
    }
    in.current_time = scope.time();
    OutputDebugStringA(qssdk::format_string("Render: %.2f ms\n", timing::elapsedMilliseconds(t1)).c_str());

    thread.postAndWait(std::bind(&Renderer::writeOutput, renderer, renderer_->outputGamma));
    OutputDebugStringA(qssdk::format_string("Full Render: %.2f ms\n", timing::elapsedMilliseconds(t0)).c_str());
}

void AePluginConnection::drawSampleJobs() {
    RendererThread& thread = renderer_->thread();
    thread.postAndWait(std::bind(&Renderer::clear, thread.renderer()));
    renderer_->drawSample(1.0f / compositeCounter_);
    compositeCounter_ += 1.0f;
}
