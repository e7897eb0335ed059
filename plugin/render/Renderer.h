// The thread-side engine: made and destroyed on the renderer thread, it owns the GL context, the OpenCL
// context, the render targets, the programs and the uniform buffers, and carries out the jobs.
#pragma once

#include <cstdint>
#include <vector>

#include "EnvironmentPasses.h"
#include "GlContext.h"
#include "GlName.h"
#include "OpenClContext.h"
#include "OpenClOutput.h"
#include "OpenClPrograms.h"
#include "ProgramRegistry.h"
#include "RenderTargetSet.h"
#include "TextureStore.h"
#include "mat4.h"
#include "render_records.h"

// The frame targets, kept from one frame to the next while the output size and sample count stay.
struct frame_targets {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t samples = 0;      // of the colour texture and the depth buffer alike
    uint32_t bufferBytes = 0;  // output row bytes x height
    uint32_t accumulationFramebuffer = 0;
    uint32_t sampleFramebuffer = 0;
    uint32_t resolveFramebuffer = 0;
    render_target accumulation;  // running mean of the motion-blur samples
    render_target sampleColor;   // target of clear and draw, multisampled with the frame's count
    render_target sampleDepth;
    render_target resolve;  // the resolved sample before it is blended into the accumulation
};

class Renderer {
public:
    // Makes the GL context current on the calling thread and builds everything; throws on any failure.
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // sampleCount 0: no multisampling; the targets get the count the driver's limits allow. An empty
    // output makes no targets: the frame's jobs then draw and write nothing.
    void beginFrame(unsigned sampleCount, const render_data& frame);
    void setRenderProperties(const render_properties& view);
    void setLights(const std::vector<light_properties>& lights);
    // Clears the sample target and sets the state the draws of a sample start from.
    void clear();
    // Into the sample target; surface 1 (All) draws the back faces, then the front faces blended over them.
    void drawModel(const model_ref& model, const qssdk::mat4& modelMatrix, const material_properties& material);
    // Resolves the sample target and blends it into the accumulation target with the weight (1 replaces it).
    void compositeSample(float weight);
    // The accumulation target into the frame's output buffer, un-premultiplied and raised to gamma.
    void writeOutput(float gamma);

    // A float texture of the host layer through the input kernel, with mipmaps; 0 for a layer without data
    // or without pixels.
    uint32_t uploadLayerTexture(const pixel_buffer& image);
    void deleteTexture(unsigned texture);
    // The environment layer's cube map with its roughness levels; 0 for texture 0.
    unsigned buildEnvironmentMap(unsigned texture);
    // The normal map of a height-map layer, its slopes scaled for the current frame's downsampling.
    unsigned buildNormalMap(unsigned texture, unsigned width, unsigned height);

    const frame_targets& frameTargets() const { return targets_; }
    const RenderTargetSet& renderTargets() const { return renderTargetSet_; }

private:
    void prepareTargets();
    // Whether the frame has targets to draw into (not so for an empty output).
    bool hasTargets() const;
    environment_passes::pass_objects environmentPassObjects() const;

    // Destroyed in the reverse order: the texture store, the kernels and programs, then the render
    // targets, the OpenCL context, the GL context last.
    GlContext glContext_;
    OpenClContext openCl_;
    RenderTargetSet renderTargetSet_;
    ProgramRegistry programs_;
    OpenClObjectRegistry clObjects_;  // the program registry's OpenCL half
    TextureStore textureStore_;

    render_data frame_{};
    unsigned sampleCount_ = 0;
    render_properties view_{};
    frame_targets targets_;

    // The programs belong to the registry, the GL names below to the renderer.
    uint32_t copyProgram_ = 0;
    uint32_t surfaceProgram_ = 0;
    uint32_t heightToNormalProgram_ = 0;
    uint32_t equirectProgram_ = 0;
    uint32_t prefilterProgram_ = 0;
    GlName quadVertexArray_;
    GlName quadVertexBuffer_;
    GlName transformMatricesBuffer_;
    GlName lightsBuffer_;
    GlName samplePointTexture_;

    // Destroyed first: it shares the accumulation texture, which must outlive it.
    OpenClOutput clOutput_;  // the output buffer and the accumulation texture shared with OpenCL
    pixel_kernels kernels_;  // input and output kernels for 32-, 16- and 8-bit channels
};
