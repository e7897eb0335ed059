// The framebuffers, render textures and renderbuffers of the renderer's off-screen targets, made,
// remembered and deleted together.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "RenderLimits.h"

enum render_target_kind : uint32_t { renderTargetTexture = 0, renderTargetRenderbuffer = 1 };

// One attachable image.
struct render_target {
    uint32_t name = 0;
    render_target_kind kind = renderTargetTexture;
    bool multisampled = false;
};

class RenderTargetSet {
public:
    // Reads the driver's limits; the GL context must be current.
    RenderTargetSet();
    ~RenderTargetSet();
    RenderTargetSet(const RenderTargetSet&) = delete;
    RenderTargetSet& operator=(const RenderTargetSet&) = delete;

    uint32_t createFramebuffer();
    // An RGBA16F texture; samples above the driver's limit are clamped, 0 makes a single-sample texture.
    render_target createTexture(const int size[2], int samples);
    // A GL_DEPTH_COMPONENT24 renderbuffer, clamped like createTexture by the renderbuffer limits.
    render_target createDepthBuffer(const int size[2], int samples);
    // Throws when the framebuffer is not complete afterwards.
    void attach(uint32_t framebuffer, GLenum attachment, const render_target& target);
    void deleteAll();

    const std::vector<uint32_t>& framebuffers() const { return framebuffers_; }
    const std::vector<uint32_t>& textures() const { return textures_; }
    const std::vector<uint32_t>& renderbuffers() const { return renderbuffers_; }
    int maxSamples() const { return maxSamples_; }
    int maxColorTextureSamples() const { return maxColorTextureSamples_; }
    int maxTextureSize() const { return maxTextureSize_; }
    int maxRenderbufferSize() const { return maxRenderbufferSize_; }
    const render_limits& limits() const { return limits_; }

private:
    std::vector<uint32_t> framebuffers_;
    std::vector<uint32_t> textures_;
    std::vector<uint32_t> renderbuffers_;
    bool multisampleTextures_ = false;
    GLint maxSamples_ = 0;
    GLint maxColorTextureSamples_ = 0;
    GLint maxRenderbufferSize_ = 0;
    GLint maxTextureSize_ = 0;
    render_limits limits_;
};
