#include "RenderTargetSet.h"

#include <algorithm>
#include <stdexcept>

namespace {

// The side of the largest square RGBA16F texture the driver agrees to make, asked through the proxy
// target, which allocates nothing.
GLint largestSquareTexture(GLint maxSize) {
    GLint low = 0, high = maxSize;
    while (low < high) {
        const GLint side = low + (high - low + 1) / 2;
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA16F, side, side, 0, GL_RGBA, GL_FLOAT, nullptr);
        GLint made = 0;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &made);
        if (made == side)
            low = side;
        else
            high = side - 1;
    }
    return low;
}

}  // namespace

RenderTargetSet::RenderTargetSet() {
    multisampleTextures_ = GLEW_ARB_texture_multisample;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples_);
    glGetIntegerv(GL_MAX_COLOR_TEXTURE_SAMPLES, &maxColorTextureSamples_);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbufferSize_);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
    const uint64_t side = static_cast<uint64_t>(largestSquareTexture(maxTextureSize_));
    limits_ = {maxTextureSize_, maxRenderbufferSize_, maxColorTextureSamples_, maxSamples_, multisampleTextures_,
               side * side};
    framebuffers_.reserve(10);
    textures_.reserve(10);
    renderbuffers_.reserve(10);
}

RenderTargetSet::~RenderTargetSet() { deleteAll(); }

uint32_t RenderTargetSet::createFramebuffer() {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    framebuffers_.push_back(framebuffer);
    return framebuffer;
}

render_target RenderTargetSet::createTexture(const int size[2], int samples) {
    samples = std::min(samples, maxColorTextureSamples_);
    if (samples != 0 && !multisampleTextures_)
        throw std::runtime_error("render texture multi-sampling not supported");
    if (size[0] > maxTextureSize_ || size[1] > maxTextureSize_)
        throw std::runtime_error("render texture size is over maximum supported size");

    GLuint texture = 0;
    glGenTextures(1, &texture);
    textures_.push_back(texture);
    if (samples != 0) {
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, texture);
        glTexImage2DMultisample(GL_TEXTURE_2D_MULTISAMPLE, samples, GL_RGBA16F, size[0], size[1], GL_TRUE);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    } else {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, size[0], size[1], 0, GL_RGBA, GL_FLOAT, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    return {texture, renderTargetTexture, samples != 0};
}

render_target RenderTargetSet::createDepthBuffer(const int size[2], int samples) {
    samples = std::min(samples, maxSamples_);
    if (size[0] > maxRenderbufferSize_ || size[1] > maxRenderbufferSize_)
        throw std::runtime_error("render buffer size is over maximum supported size");

    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    renderbuffers_.push_back(renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    if (samples == 0)
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size[0], size[1]);
    else
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, size[0], size[1]);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return {renderbuffer, renderTargetRenderbuffer, samples != 0};
}

void RenderTargetSet::attach(uint32_t framebuffer, GLenum attachment, const render_target& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (target.kind == renderTargetTexture)
        glFramebufferTexture2D(GL_FRAMEBUFFER, attachment,
                               target.multisampled ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D, target.name, 0);
    else
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, target.name);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) throw std::runtime_error("failed to attach render target");
}

void RenderTargetSet::deleteAll() {
    glDeleteFramebuffers(static_cast<GLsizei>(framebuffers_.size()), framebuffers_.data());
    glDeleteRenderbuffers(static_cast<GLsizei>(renderbuffers_.size()), renderbuffers_.data());
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
    framebuffers_.clear();
    renderbuffers_.clear();
    textures_.clear();
}
