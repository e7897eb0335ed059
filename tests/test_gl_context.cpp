#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "GlContext.h"
#include "RenderTargetSet.h"
#include "Renderer.h"
#include "WatchedTest.h"

namespace {

TEST(GlContext, MakesA41CoreContextCurrentOnAHiddenWindow) {
    HWND window = nullptr;
    {
        GlContext context;
        window = context.window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(wglGetCurrentContext(), context.context());
        EXPECT_EQ(wglGetCurrentDC(), context.deviceContext());
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_NE(GetAncestor(window, GA_PARENT), GetDesktopWindow()) << "message-only, not a top-level window";
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        EXPECT_EQ(std::wstring(className), L"Static");

        GLint major = 0, minor = 0, profile = 0, flags = 0;
        glGetIntegerv(GL_MAJOR_VERSION, &major);
        glGetIntegerv(GL_MINOR_VERSION, &minor);
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
        glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
        EXPECT_TRUE(meetsRequiredGlVersion(major, minor)) << major << "." << minor;
        EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
        EXPECT_TRUE(flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT);
        EXPECT_TRUE(GLEW_ARB_texture_multisample) << "glewInit ran on the new context";
    }
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST(GlContext, NeedsVersion41OrLater) {
    const struct {
        int major, minor;
        bool enough;
    } cases[] = {{3, 3, false}, {4, 0, false}, {4, 1, true}, {4, 6, true}, {5, 0, true}};
    for (const auto& c : cases) EXPECT_EQ(meetsRequiredGlVersion(c.major, c.minor), c.enough) << c.major << c.minor;
}

using RenderTargets = GlTest;

TEST_F(RenderTargets, ASizeAboveTheLimitFailsBeforeAnyObjectIsMade) {
    RenderTargetSet set;
    const int wide[2] = {set.maxTextureSize() + 1, 1};
    const int tall[2] = {1, set.maxTextureSize() + 1};
    for (const int* size : {wide, tall}) {
        try {
            set.createTexture(size, 0);
            ADD_FAILURE() << "no failure for " << size[0] << " x " << size[1];
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "render texture size is over maximum supported size");
        }
    }
    const int deep[2] = {set.maxRenderbufferSize() + 1, 1};
    try {
        set.createDepthBuffer(deep, 0);
        ADD_FAILURE() << "no failure for the depth buffer";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "render buffer size is over maximum supported size");
    }
    EXPECT_TRUE(set.textures().empty());
    EXPECT_TRUE(set.renderbuffers().empty());
}

TEST_F(RenderTargets, TheLimitsAreTheDriversAndItsLargestTextureIsMade) {
    RenderTargetSet set;
    const render_limits& limits = set.limits();
    EXPECT_EQ(limits.maxTextureSize, set.maxTextureSize());
    EXPECT_EQ(limits.maxRenderbufferSize, set.maxRenderbufferSize());
    EXPECT_EQ(limits.maxColorTextureSamples, set.maxColorTextureSamples());
    const uint64_t most = uint64_t(set.maxTextureSize()) * uint64_t(set.maxTextureSize());
    ASSERT_GT(limits.maxTextureTexels, 0u);
    ASSERT_LE(limits.maxTextureTexels, most);
    // A square side whose area is the budget: the driver makes it, and refuses one a texel wider when that
    // is below the size limit.
    const GLsizei side = static_cast<GLsizei>(std::sqrt(static_cast<double>(limits.maxTextureTexels)));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    while (glGetError() != GL_NO_ERROR) {
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, side, side, 0, GL_RGBA, GL_FLOAT, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << side;
    glDeleteTextures(1, &texture);
    if (side < set.maxTextureSize()) {
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA16F, side + 1, side + 1, 0, GL_RGBA, GL_FLOAT, nullptr);
        GLint made = -1;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &made);
        EXPECT_EQ(made, 0);
    }
    std::printf("driver limits: texture %d, renderbuffer %d, largest square texture %d\n", set.maxTextureSize(),
                set.maxRenderbufferSize(), static_cast<int>(side));
}

TEST_F(RenderTargets, SampleCountsAboveTheLimitsAreClamped) {
    RenderTargetSet set;
    ASSERT_GT(set.maxColorTextureSamples(), 0);
    ASSERT_GT(set.maxSamples(), 0);
    const int size[2] = {8, 4};

    const render_target color = set.createTexture(size, 64);
    EXPECT_TRUE(color.multisampled);
    GLint samples = 0;
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, color.name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_SAMPLES, &samples);
    EXPECT_EQ(samples, set.maxColorTextureSamples());

    const render_target depth = set.createDepthBuffer(size, 64);
    EXPECT_TRUE(depth.multisampled);
    EXPECT_EQ(depth.kind, 1u);
    glBindRenderbuffer(GL_RENDERBUFFER, depth.name);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &samples);
    EXPECT_EQ(samples, set.maxSamples());

    const render_target single = set.createTexture(size, 0);
    EXPECT_FALSE(single.multisampled);
    EXPECT_EQ(set.createDepthBuffer(size, 0).multisampled, false);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargets, DeleteAllDeletesEveryObjectItMade) {
    RenderTargetSet set;
    const int size[2] = {4, 4};
    const uint32_t framebuffer = set.createFramebuffer();
    const render_target texture = set.createTexture(size, 0);
    set.attach(framebuffer, GL_COLOR_ATTACHMENT0, texture);
    const render_target depth = set.createDepthBuffer(size, 0);
    ASSERT_TRUE(glIsFramebuffer(framebuffer) && glIsTexture(texture.name) && glIsRenderbuffer(depth.name));
    set.deleteAll();
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsTexture(texture.name));
    EXPECT_FALSE(glIsRenderbuffer(depth.name));
    EXPECT_TRUE(set.framebuffers().empty() && set.textures().empty() && set.renderbuffers().empty());
}

TEST_F(RenderTargets, AttachingMismatchedSampleCountsFails) {
    RenderTargetSet set;
    const int size[2] = {4, 4};
    const uint32_t framebuffer = set.createFramebuffer();
    set.attach(framebuffer, GL_COLOR_ATTACHMENT0, set.createTexture(size, 0));
    try {
        set.attach(framebuffer, GL_DEPTH_ATTACHMENT, set.createDepthBuffer(size, 4));
        ADD_FAILURE() << "an incomplete framebuffer was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "failed to attach render target");
    }
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

// The Renderer on the test thread: its constructor makes its own context current here.
class FrameTargets : public WatchedTest {
protected:
    static render_data frame(uint32_t width, uint32_t height, uint32_t rowBytes) {
        render_data data{};
        data.output.width = width;
        data.output.height = height;
        data.output.row_bytes = rowBytes;
        data.output.bytes_per_channel = 4;
        return data;
    }

    static GLint textureSamples(const render_target& target) {
        GLint samples = 0;
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, target.name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_SAMPLES, &samples);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
        return samples;
    }

    static bool complete(uint32_t framebuffer) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        const bool result = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return result;
    }

    Renderer renderer;
};

TEST_F(FrameTargets, AFrameWithoutMultisamplingMakesThreeSingleSampleTargets) {
    renderer.beginFrame(0, frame(64, 32, 64 * 16));
    const frame_targets& targets = renderer.frameTargets();
    EXPECT_EQ(targets.width, 64);
    EXPECT_EQ(targets.height, 32);
    EXPECT_EQ(targets.bufferBytes, 64u * 16 * 32);
    EXPECT_TRUE(complete(targets.accumulationFramebuffer));
    EXPECT_TRUE(complete(targets.sampleFramebuffer));
    EXPECT_TRUE(complete(targets.resolveFramebuffer));
    EXPECT_FALSE(targets.sampleColor.multisampled);
    EXPECT_FALSE(targets.sampleDepth.multisampled);
    EXPECT_EQ(renderer.renderTargets().framebuffers().size(), 3u);
    EXPECT_EQ(renderer.renderTargets().textures().size(), 3u);
    EXPECT_EQ(renderer.renderTargets().renderbuffers().size(), 1u);

    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, targets.accumulation.name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 64);
}

TEST_F(FrameTargets, ASampleCountAboveTheLimitsIsClampedToOneCountForColourAndDepth) {
    renderer.beginFrame(16, frame(16, 16, 16 * 16));
    const frame_targets& targets = renderer.frameTargets();
    const unsigned expected = frameSampleCount(renderer.renderTargets().limits(), 16);
    ASSERT_GT(expected, 1u);
    EXPECT_EQ(targets.samples, expected);
    EXPECT_TRUE(targets.sampleColor.multisampled);
    EXPECT_EQ(textureSamples(targets.sampleColor), static_cast<GLint>(expected));
    GLint depthSamples = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, targets.sampleDepth.name);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &depthSamples);
    EXPECT_EQ(depthSamples, static_cast<GLint>(expected));
    EXPECT_TRUE(complete(targets.sampleFramebuffer));
}

TEST_F(FrameTargets, AnEmptyOutputMakesNoTargetsAndItsJobsDrawNothing) {
    renderer.beginFrame(4, frame(16, 16, 16 * 16));
    for (const render_data& empty : {frame(0, 16, 0), frame(16, 0, 16 * 16), frame(0, 0, 0)}) {
        SCOPED_TRACE(testing::Message() << empty.output.width << " x " << empty.output.height);
        renderer.beginFrame(4, empty);
        EXPECT_EQ(renderer.frameTargets().sampleFramebuffer, 0u);
        EXPECT_TRUE(renderer.renderTargets().framebuffers().empty());
        EXPECT_TRUE(renderer.renderTargets().textures().empty());
        renderer.clear();
        renderer.compositeSample(1.0f);
        renderer.writeOutput(1.0f);
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(bound, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    renderer.beginFrame(4, frame(16, 16, 16 * 16));  // the same size as before the empty ones: made anew
    EXPECT_TRUE(complete(renderer.frameTargets().sampleFramebuffer));
    EXPECT_EQ(renderer.frameTargets().bufferBytes, 16u * 16 * 16);
}

TEST_F(FrameTargets, FramesOfTheSameSizeKeepTheirTargets) {
    renderer.beginFrame(4, frame(32, 16, 32 * 16));
    const frame_targets first = renderer.frameTargets();
    const auto textures = renderer.renderTargets().textures();
    const auto framebuffers = renderer.renderTargets().framebuffers();
    const auto renderbuffers = renderer.renderTargets().renderbuffers();

    // Mark the accumulation target: a rebuilt one would no longer hold the colour, even under the same name.
    glBindFramebuffer(GL_FRAMEBUFFER, first.accumulationFramebuffer);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    renderer.beginFrame(4, frame(32, 16, 32 * 16));
    renderer.beginFrame(4, frame(32, 16, 32 * 16 + 64));  // other row bytes: only the OpenCL side changes
    const frame_targets& again = renderer.frameTargets();
    EXPECT_EQ(renderer.renderTargets().textures(), textures);
    EXPECT_EQ(renderer.renderTargets().framebuffers(), framebuffers);
    EXPECT_EQ(renderer.renderTargets().renderbuffers(), renderbuffers);
    EXPECT_EQ(again.accumulation.name, first.accumulation.name);
    EXPECT_EQ(again.bufferBytes, (32u * 16 + 64) * 16);

    float pixel[4] = {};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, again.accumulationFramebuffer);
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_FLOAT, pixel);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    EXPECT_FLOAT_EQ(pixel[0], 0.25f);
    EXPECT_FLOAT_EQ(pixel[1], 0.5f);
    EXPECT_FLOAT_EQ(pixel[2], 0.75f);

    // Another size or sample count rebuilds them.
    renderer.beginFrame(0, frame(8, 8, 8 * 16));
    EXPECT_EQ(renderer.frameTargets().width, 8);
    EXPECT_FALSE(renderer.frameTargets().sampleColor.multisampled);
    EXPECT_EQ(renderer.renderTargets().textures().size(), 3u);
    EXPECT_TRUE(complete(renderer.frameTargets().sampleFramebuffer));
}

TEST_F(FrameTargets, AnOutputWiderThanTheTextureLimitFails) {
    const uint32_t tooWide = static_cast<uint32_t>(renderer.renderTargets().maxTextureSize()) + 1;
    try {
        renderer.beginFrame(0, frame(tooWide, 1, tooWide * 16));
        ADD_FAILURE() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "render texture size is over maximum supported size");
    }
    EXPECT_TRUE(renderer.renderTargets().textures().empty());
}

}  // namespace
