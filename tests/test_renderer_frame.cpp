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

#include "HostChannel.h"
#include "DebugOutput.h"
#include "Renderer.h"
#include "SceneRenderer.h"
#include "SphereDrawing.h"

namespace {

using namespace sphere_drawing;

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

TEST_F(SphereDraw, TheSilhouetteIsTheDiscTheCameraSees) {
    const float zoom = width * 50.0f / 36;
    const struct {
        float radius, dx, dy, z;
        unsigned samples;
    } cases[] = {{40, 0, 0, 0, 0}, {40, 0, 0, 0, 4}, {20, 16, -10, 100, 4}};
    const vec4 color{0.8f, 0.4f, 0.2f, 1};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius << " at " << c.dx << ", " << c.dy << ", " << c.z
                                        << ", " << c.samples << " samples");
        const auto pixels = draw(plainMaterial(2, color), c.radius, width / 2.0f + c.dx, height / 2.0f + c.dy, c.z,
                                 c.samples);
        const double distance = zoom + c.z;
        const double radius = zoom * c.radius / std::sqrt(distance * distance - c.radius * c.radius);
        const double centerX = width / 2.0 + c.dx * zoom / distance, centerY = height / 2.0 + c.dy * zoom / distance;
        const coverage seen = coverageOf(pixels, width);
        EXPECT_NEAR(seen.radius(), radius, 0.5);
        EXPECT_NEAR(seen.centerX, centerX, 0.5);
        EXPECT_NEAR(seen.centerY, centerY, 0.5) << "rows run down the comp";

        const float* middle = pixelAt(pixels, width, static_cast<int>(centerX), static_cast<int>(centerY));
        EXPECT_NEAR(middle[0], color.x, 2e-3);
        EXPECT_NEAR(middle[1], color.y, 2e-3);
        EXPECT_NEAR(middle[2], color.z, 2e-3);
        EXPECT_NEAR(middle[3], 1, 2e-3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (std::hypot(x + 0.5 - centerX, y + 0.5 - centerY) > radius + 1.5) {
                    ASSERT_EQ(pixelAt(pixels, width, x, y)[3], 0.0f) << "outside the disc at " << x << ", " << y;
                }
    }
}

TEST_F(SphereDraw, AParallelLightFromTheCameraLightsTheTurnedSphereFacingIt) {
    light_properties light{};
    light.lightType = 0;
    light.direction = {0, 0, 1, 0};  // from the camera's side into the comp
    light.color = {1, 1, 1, 1};
    material_properties material = plainMaterial(2, {1, 0.5f, 0.25f, 1});
    material.unlitMode = 0;
    material.diffuseAmount = 1;
    // A quarter turn about y: the normals must turn with the surface for the facing point to stay lit.
    scene.rotation = {0, std::sqrt(0.5f), 0, std::sqrt(0.5f)};
    const auto pixels = draw(material, 40, width / 2.0f, height / 2.0f, 0, 0, {light});
    const float zoom = width * 50.0f / 36;
    const double radius = zoom * 40 / std::sqrt(zoom * zoom - 40 * 40);
    const float* middle = pixelAt(pixels, width, width / 2, height / 2);
    EXPECT_NEAR(middle[0], 1, 0.01);
    EXPECT_NEAR(middle[1], 0.5, 0.01);
    EXPECT_NEAR(middle[2], 0.25, 0.01);
    // Off the middle the surface turns away: about the cosine of its angle to the light.
    const float* side = pixelAt(pixels, width, static_cast<int>(width / 2 + 0.6 * radius), height / 2);
    EXPECT_NEAR(side[0], 0.8, 0.06);
    EXPECT_NEAR(side[3], 1, 2e-3);
}

// A 2 x 1 map, red then green, sampled as it is.
GLuint twoTexelMap() {
    const float texels[8] = {1, 0, 0, 1, 0, 1, 0, 1};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, 2, 1, 0, GL_RGBA, GL_FLOAT, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

TEST_F(SphereDraw, FrontBackAndAllDrawTheirFaces) {
    // Plane ZY at half repeat: the near faces (z < 0) read the red texel, the far faces the green one.
    uint32_t map = 0;
    onRenderer([&](Renderer&) { map = twoTexelMap(); });
    const struct {
        uint32_t surface;
        float rgba[4];
    } cases[] = {
        {2, {0.5f, 0, 0, 0.5f}},         // Front: the near faces only
        {3, {0, 0.5f, 0, 0.5f}},         // Back: the far faces only
        {1, {0.5f, 0.25f, 0, 0.75f}},    // All: the near faces over the far ones
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.surface);
        material_properties material = plainMaterial(c.surface, {1, 1, 1, 0.5f});
        material.diffuseTexture = map;
        material.uvType = 5;
        material.uvRepeat = {0.5f, 1};
        const auto pixels = draw(material, 40, width / 2.0f, height / 2.0f, 0);
        for (int y = height / 2 - 8; y < height / 2 + 8; y += 4)
            for (int x = width / 2 - 8; x < width / 2 + 8; x += 4)
                for (int k = 0; k < 4; ++k)
                    EXPECT_NEAR(pixelAt(pixels, width, x, y)[k], c.rgba[k], 2e-3) << x << ", " << y << " channel " << k;
        EXPECT_EQ(pixelAt(pixels, width, 2, 2)[3], 0.0f);
    }
}

TEST_F(SphereDraw, FromInsideOnlyTheBackFacesShow) {
    // A radius beyond the camera's distance puts the camera inside the sphere.
    for (uint32_t surface : {2u, 3u, 1u}) {
        SCOPED_TRACE(surface);
        const auto pixels = draw(plainMaterial(surface, {0.2f, 0.4f, 0.6f, 0.5f}), 400, width / 2.0f, height / 2.0f, 0);
        const float expected[4] = {0.1f, 0.2f, 0.3f, 0.5f};
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_NEAR(pixels[i], surface == 2 ? 0.0f : expected[i % 4], 2e-3) << "pixel " << i / 4;
    }
}

TEST_F(SphereDraw, TheHemisphereKeepsTheTopHalfOfTheDisc) {
    material_properties material = plainMaterial(1, {1, 1, 1, 1});
    material.flattenBottom = 1;
    const auto pixels = draw(material, 40, width / 2.0f, height / 2.0f, 0);
    const float zoom = width * 50.0f / 36;
    const double radius = zoom * 40 / std::sqrt(zoom * zoom - 40 * 40);
    const coverage seen = coverageOf(pixels, width);
    EXPECT_NEAR(seen.area, std::numbers::pi * radius * radius / 2, 2 * radius);
    EXPECT_LT(seen.centerY, height / 2.0 - radius / 3) << "the half above the middle stays";
    for (int y = height / 2 + 1; y < height; ++y)
        for (int x = 0; x < width; ++x) ASSERT_EQ(pixelAt(pixels, width, x, y)[3], 0.0f) << x << ", " << y;
}

TEST_F(SphereDraw, TheUvModeSetsTheWrapOfTheFlatMapsAndTheCubeMapRepeats) {
    GLuint maps[4] = {}, cube = 0;
    onRenderer([&](Renderer&) {
        glGenTextures(4, maps);
        for (GLuint map : maps) {
            glBindTexture(GL_TEXTURE_2D, map);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, 1, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
        }
        glGenTextures(1, &cube);
        glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
        for (int face = 0; face < 6; ++face)
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA16F, 1, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
        for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
            glTexParameteri(GL_TEXTURE_CUBE_MAP, wrap, GL_CLAMP_TO_EDGE);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    });
    const struct {
        int uvMode;
        GLint wrap;
    } cases[] = {{2, GL_MIRRORED_REPEAT}, {1, GL_REPEAT}, {0, GL_MIRRORED_REPEAT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uvMode);
        material_properties material = plainMaterial(2, {1, 1, 1, 1});
        material.uvMode = c.uvMode;
        material.diffuseTexture = maps[0];
        material.glossinessTexture = maps[1];
        material.illuminationTexture = maps[2];
        material.normalTexture = maps[3];
        material.environmentTexture = cube;
        draw(material, 40, width / 2.0f, height / 2.0f, 0);
        onRenderer([&](Renderer&) {
            for (int unit = 0; unit < 4; ++unit) {
                glActiveTexture(GL_TEXTURE0 + unit);
                GLint bound = 0, s = 0, t = 0;
                glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
                EXPECT_EQ(bound, static_cast<GLint>(maps[unit])) << "unit " << unit;
                glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
                glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
                EXPECT_EQ(s, c.wrap) << "unit " << unit;
                EXPECT_EQ(t, c.wrap) << "unit " << unit;
            }
            glActiveTexture(GL_TEXTURE4);
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
            EXPECT_EQ(bound, static_cast<GLint>(cube));
            for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
                GLint value = 0;
                glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, wrap, &value);
                EXPECT_EQ(value, GL_REPEAT);
            }
            glActiveTexture(GL_TEXTURE0);
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        });
    }
}

}  // namespace
