// The thread-side engine: made and destroyed on the renderer thread, it owns the GL context, the render
// targets, the programs and the uniform buffers, and carries out the jobs.
#pragma once

#include <cstdint>

#include "GlContext.h"
#include "ProgramRegistry.h"
#include "RenderTargetSet.h"
#include "render_records.h"

// The frame targets, kept from one frame to the next while the output size and sample count stay.
struct frame_targets {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t samples = 0;
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

    // sampleCount 0: no multisampling.
    void beginFrame(unsigned sampleCount, const render_data& frame);
    void deleteTexture(unsigned texture);

    const frame_targets& frameTargets() const { return targets_; }
    const RenderTargetSet& renderTargets() const { return renderTargetSet_; }

private:
    void release();
    void prepareTargets();

    // Destroyed in the reverse order: the programs, then the render targets, the GL context last.
    GlContext glContext_;
    RenderTargetSet renderTargetSet_;
    ProgramRegistry programs_;

    render_data frame_{};
    unsigned sampleCount_ = 0;
    frame_targets targets_;

    uint32_t quadVertexArray_ = 0;
    uint32_t quadVertexBuffer_ = 0;
    uint32_t copyProgram_ = 0;
    uint32_t transformMatricesBuffer_ = 0;
    uint32_t lightsBuffer_ = 0;
    uint32_t surfaceProgram_ = 0;
    uint32_t heightToNormalProgram_ = 0;
    uint32_t equirectProgram_ = 0;
    uint32_t prefilterProgram_ = 0;
};
