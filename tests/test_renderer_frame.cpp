// The Renderer's frame driven through its jobs on the renderer thread, as the host layer drives it, with no
// host in between: the composite, the output job, the layer upload, and the sphere drawn through a camera
// made as the scene capture makes the host's default camera.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <regex>
#include <stdexcept>
#include <vector>

#include "DebugOutput.h"
#include "Renderer.h"
#include "SceneRenderer.h"
#include "WatchedTest.h"

namespace {

render_data frameOf(uint32_t width, uint32_t height, uint32_t bytesPerChannel = 4, uint32_t rowBytes = 0,
                    uint8_t* data = nullptr) {
    render_data frame{};
    frame.output = {rowBytes ? rowBytes : width * 4 * bytesPerChannel, bytesPerChannel, width, height, data};
    frame.bytes_per_channel = static_cast<int32_t>(bytesPerChannel);
    frame.downsample_x = frame.downsample_y = 1;
    return frame;
}

// RGBA floats of a framebuffer's colour attachment, row 0 first.
std::vector<float> readFramebuffer(uint32_t framebuffer, int width, int height) {
    std::vector<float> pixels(static_cast<size_t>(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return pixels;
}

class RendererFrame : public WatchedTest {
protected:
    // Runs the job on the renderer thread, where the Renderer and its GL context live.
    void onRenderer(const std::function<void(Renderer&)>& job) {
        Renderer* renderer = scene.thread().renderer();
        ASSERT_NE(renderer, nullptr);
        scene.thread().postAndWait([&] { job(*renderer); });
    }

    void beginFrame(unsigned samples, const render_data& frame) {
        onRenderer([&](Renderer& r) { r.beginFrame(samples, frame); });
    }

    // What the accumulation target holds.
    std::vector<float> accumulation() {
        std::vector<float> pixels;
        onRenderer([&](Renderer& r) {
            const frame_targets& t = r.frameTargets();
            pixels = readFramebuffer(t.accumulationFramebuffer, t.width, t.height);
        });
        return pixels;
    }

    // One sample of a single colour, cleared into the sample target and composited with the weight.
    void compositeColor(const float (&rgba)[4], float weight) {
        onRenderer([&](Renderer& r) {
            r.clear();  // leaves the sample target bound
            glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
            glClear(GL_COLOR_BUFFER_BIT);
            r.compositeSample(weight);
        });
    }

    SceneRenderer scene;
};

TEST_F(RendererFrame, TheAccumulationTargetHoldsTheMeanOfTheSamples) {
    const float samples[3][4] = {{0.9f, 0.1f, 0.3f, 1.0f}, {0.3f, 0.7f, 0.0f, 0.5f}, {0.0f, 0.4f, 0.6f, 0.0f}};
    for (unsigned sampleCount : {0u, 4u}) {
        SCOPED_TRACE(sampleCount);
        beginFrame(sampleCount, frameOf(8, 4));
        // Left over from an earlier frame: the first sample replaces it.
        onRenderer([](Renderer& r) {
            glBindFramebuffer(GL_FRAMEBUFFER, r.frameTargets().accumulationFramebuffer);
            glClearColor(5, 5, 5, 5);
            glClear(GL_COLOR_BUFFER_BIT);
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        });

        compositeColor(samples[0], 1.0f);
        std::vector<float> pixels = accumulation();
        for (size_t i = 0; i < pixels.size(); ++i) ASSERT_NEAR(pixels[i], samples[0][i % 4], 1e-3) << "one sample, " << i;

        compositeColor(samples[1], 1.0f / 2);
        compositeColor(samples[2], 1.0f / 3);
        pixels = accumulation();
        for (size_t i = 0; i < pixels.size(); ++i) {
            const int c = static_cast<int>(i % 4);
            const float mean = (samples[0][c] + samples[1][c] + samples[2][c]) / 3;
            ASSERT_NEAR(pixels[i], mean, 2e-3) << "three samples, " << i;
        }
    }
    EXPECT_TRUE(watcher.seen().empty());
}

// A host channel as a number: 8- and 16-bit codes, or the float.
double hostChannel(const std::vector<uint8_t>& buffer, size_t at, uint32_t bytesPerChannel) {
    if (bytesPerChannel == 1) return buffer[at];
    if (bytesPerChannel == 2) {
        uint16_t v;
        std::memcpy(&v, &buffer[at], 2);
        return v;
    }
    float v;
    std::memcpy(&v, &buffer[at], 4);
    return v;
}

// The output kernel's arithmetic on one premultiplied pixel: (alpha, red, green, blue) in host units.
std::vector<double> expectedHostPixel(const float (&rgba)[4], float gamma, uint32_t bytesPerChannel) {
    const double alpha = std::clamp(static_cast<double>(rgba[3]), 0.0, 1.0);
    std::vector<double> argb = {alpha};
    for (int c = 0; c < 3; ++c) argb.push_back(std::pow(alpha > 0 ? rgba[c] / alpha : rgba[c], gamma));
    for (double& v : argb) {
        if (bytesPerChannel == 1) v = std::floor(std::clamp(v * 255, 0.0, 255.0));
        if (bytesPerChannel == 2) v = std::floor(std::floor(std::clamp(v * 65535, 0.0, 65535.0)) / 2);
    }
    return argb;
}

TEST_F(RendererFrame, WriteOutputPutsTheAccumulationIntoTheHostBufferWithGamma) {
    const uint32_t width = 3, height = 2;
    // Premultiplied, each exact in half floats; one pixel has no alpha and is written without division.
    const float pixels[width * height][4] = {{0.25f, 0.25f, 0.25f, 0.5f}, {0.5f, 0.125f, 0.375f, 0.75f},
                                             {1, 0.5f, 0, 1},             {0.0625f, 0.25f, 0.1875f, 0.25f},
                                             {0.5f, 0.25f, 0.75f, 0},     {0, 0, 0, 1}};
    const std::regex timing("Output Render: [0-9]+\\.[0-9]{2} ms");
    const struct {
        uint32_t bytesPerChannel;
        float gamma;
    } cases[] = {{1, 1.0f}, {1, 1 / 2.2f}, {2, 1 / 2.2f}, {4, 1 / 2.2f}, {4, 2.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytesPerChannel << " bytes, gamma " << c.gamma);
        const uint32_t rowBytes = (width * 4 + 3) * c.bytesPerChannel;  // three channels of padding per row
        std::vector<uint8_t> host(rowBytes * height, 0xA5);
        beginFrame(0, frameOf(width, height, c.bytesPerChannel, rowBytes, host.data()));
        // The pixels reach the accumulation target as a sample does.
        onRenderer([&](Renderer& r) {
            r.clear();
            glBindTexture(GL_TEXTURE_2D, r.frameTargets().sampleColor.name);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_FLOAT, pixels);
            glBindTexture(GL_TEXTURE_2D, 0);
            r.compositeSample(1.0f);
        });
        hostsim::DebugOutput debug;
        onRenderer([&](Renderer& r) { r.writeOutput(c.gamma); });
        ASSERT_EQ(debug.lines().size(), 1u);
        EXPECT_TRUE(std::regex_match(debug.lines()[0], timing)) << debug.lines()[0];

        for (uint32_t p = 0; p < width * height; ++p) {
            const size_t at = (p / width) * rowBytes + (p % width) * 4 * c.bytesPerChannel;
            const std::vector<double> expected = expectedHostPixel(pixels[p], c.gamma, c.bytesPerChannel);
            for (uint32_t k = 0; k < 4; ++k)
                EXPECT_NEAR(hostChannel(host, at + k * c.bytesPerChannel, c.bytesPerChannel), expected[k],
                            c.bytesPerChannel == 4 ? 1e-3 : 1.0)
                    << "pixel " << p << " channel " << k;
        }
    }
}

TEST_F(RendererFrame, AnUploadedLayerHoldsItsPixelsAsFloatTexels) {
    const uint32_t width = 5, height = 3;
    for (uint32_t bpc : {1u, 2u, 4u}) {
        SCOPED_TRACE(bpc);
        const double full = bpc == 1 ? 255 : bpc == 2 ? 32767 : 1;
        const uint32_t rowBytes = (width * 4 + 2) * bpc;
        std::vector<uint8_t> layer(rowBytes * height, 0xEE);
        std::vector<float> expected;  // red, green, blue, alpha
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const double argb[4] = {full * (x + 1) / 5, full * (y + 1) / 3, full * (x + y) / 6, full};
                for (int k = 0; k < 4; ++k) {
                    uint8_t* at = &layer[y * rowBytes + (x * 4 + k) * bpc];
                    if (bpc == 1) *at = static_cast<uint8_t>(argb[k]);
                    if (bpc == 2) {
                        const auto v = static_cast<uint16_t>(argb[k]);
                        std::memcpy(at, &v, 2);
                    }
                    if (bpc == 4) {
                        const auto v = static_cast<float>(argb[k]);
                        std::memcpy(at, &v, 4);
                    }
                }
                // What the host's codes stand for, after their truncation to whole codes.
                for (int k : {1, 2, 3, 0}) expected.push_back(static_cast<float>(bpc == 4 ? argb[k] : std::floor(argb[k]) / full));
            }

        uint32_t texture = 0;
        std::vector<float> texels(expected.size());
        GLint minFilter = 0, levelOneWidth = 0;
        onRenderer([&](Renderer& r) {
            texture = r.uploadLayerTexture(pixel_buffer{rowBytes, bpc, width, height, layer.data()});
            glBindTexture(GL_TEXTURE_2D, texture);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
            glBindTexture(GL_TEXTURE_2D, 0);
        });
        ASSERT_NE(texture, 0u);
        for (size_t i = 0; i < texels.size(); ++i)
            EXPECT_NEAR(texels[i], expected[i], 1e-3 * std::max(1.0f, std::fabs(expected[i]))) << "texel value " << i;
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(levelOneWidth, 2) << "mipmaps made";
        onRenderer([&](Renderer& r) { r.deleteTexture(texture); });
    }
}

TEST_F(RendererFrame, ALayerWithoutDataOrPixelsMakesNoTexture) {
    std::vector<uint8_t> bytes(64 * 16, 0x80);
    const pixel_buffer layers[] = {{64, 1, 16, 16, nullptr}, {64, 1, 0, 16, bytes.data()}, {64, 1, 16, 0, bytes.data()}};
    for (const pixel_buffer& layer : layers) {
        SCOPED_TRACE(testing::Message() << layer.width << " x " << layer.height);
        GLuint before = 0, after = 0;
        uint32_t texture = 1;
        onRenderer([&](Renderer& r) {
            glGenTextures(1, &before);
            texture = r.uploadLayerTexture(layer);
            glGenTextures(1, &after);
            glDeleteTextures(1, &before);
            glDeleteTextures(1, &after);
        });
        EXPECT_EQ(texture, 0u);
        EXPECT_EQ(after, before + 1) << "a texture name was taken in between";
    }
    EXPECT_FALSE(scene.thread().hasEnded());
}

TEST_F(RendererFrame, TheSphereMeshIsUploadedOnTheRendererThread) {
    const model_ref model = scene.loadSphereModel();
    EXPECT_EQ(model.index_count, 96000u);
    GLint vertexBytes = 0, indexBytes = 0;
    bool isArray = false;
    onRenderer([&](Renderer&) {
        isArray = glIsVertexArray(model.vertex_array);
        glBindBuffer(GL_ARRAY_BUFFER, model.vertex_buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &vertexBytes);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindVertexArray(model.vertex_array);
        GLint elements = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        EXPECT_EQ(static_cast<uint32_t>(elements), model.index_buffer) << "the vertex array keeps its indices";
        glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexBytes);
        glBindVertexArray(0);
    });
    EXPECT_TRUE(isArray);
    EXPECT_EQ(vertexBytes, 96000 * 64);
    EXPECT_EQ(indexBytes, 96000 * 4);

    // Once the renderer thread has ended nothing is uploaded, and later draws draw nothing.
    EXPECT_THROW(scene.thread().postAndWait([] { throw std::runtime_error("job failed"); }), std::runtime_error);
    const model_ref none = scene.loadSphereModel();
    EXPECT_EQ(none.vertex_array, 0u);
    EXPECT_EQ(none.index_count, 0u);
    EXPECT_NO_THROW(scene.drawSample(1.0f));
}

}  // namespace
