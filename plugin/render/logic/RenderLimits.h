// The sizes of frame targets and layer textures the renderer can make, as the driver reports them. The
// host layer checks a frame against them before it posts a job: a job that fails ends the renderer thread
// for good, while a frame refused here fails alone and the next one renders.
#pragma once

#include <cstdint>
#include <string>

#include "render_records.h"

struct render_limits {
    int32_t maxTextureSize = 0;          // GL_MAX_TEXTURE_SIZE
    int32_t maxRenderbufferSize = 0;     // GL_MAX_RENDERBUFFER_SIZE
    int32_t maxColorTextureSamples = 0;  // GL_MAX_COLOR_TEXTURE_SAMPLES: of the sample target's colour texture
    int32_t maxSamples = 0;              // GL_MAX_SAMPLES: of its depth renderbuffer
    bool multisampleTextures = false;
    // Of the largest square RGBA16F texture the driver agrees to make: a driver that bounds the memory of
    // one texture refuses sizes well below GL_MAX_TEXTURE_SIZE.
    uint64_t maxTextureTexels = 0;
};

// The one sample count of a frame's colour texture and depth buffer: the request lowered to what both limits
// allow, as a framebuffer is complete only when its attachments have the same count (0: no multisampling).
unsigned frameSampleCount(const render_limits& limits, unsigned requested);

// An output without pixels (0 wide or 0 high): the frame draws nothing and needs no targets.
bool isEmptyOutput(const pixel_buffer& output);

// The message of the first limit the frame's output breaks (sampleCount 0: no multisampling); empty when
// the renderer can make the frame's targets and output buffer.
std::string outputSizeProblem(const render_limits& limits, const pixel_buffer& output, unsigned sampleCount);
// The message when a map layer of that size cannot become a texture; `name` is the layer parameter's.
std::string layerSizeProblem(const render_limits& limits, const char* name, uint32_t width, uint32_t height);
