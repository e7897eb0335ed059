// The renderer driven through its jobs on the renderer thread, as the host layer drives it, with no host in
// between; and the sphere drawn through a camera made as the scene capture makes the host's default camera.
#pragma once

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "Renderer.h"
#include "SceneRenderer.h"
#include "WatchedTest.h"

namespace sphere_drawing {

inline render_data frameOf(uint32_t width, uint32_t height, uint32_t bytesPerChannel = 4, uint32_t rowBytes = 0,
                    uint8_t* data = nullptr) {
    render_data frame{};
    frame.output = {rowBytes ? rowBytes : width * 4 * bytesPerChannel, bytesPerChannel, width, height, data};
    frame.bytes_per_channel = static_cast<int32_t>(bytesPerChannel);
    frame.downsample_x = frame.downsample_y = 1;
    return frame;
}

// RGBA floats of a framebuffer's colour attachment, row 0 first.
inline std::vector<float> readFramebuffer(uint32_t framebuffer, int width, int height) {
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

// The host's default camera of a W x H comp as the scene capture turns it into the view: at (W/2, H/2,
// -zoom) looking down +z at the comp's centre, zoom = W x 50/36, the image plane at the zoom distance.
inline render_properties defaultCamera(float width, float height) {
    const float zoom = width * 50 / 36;
    qssdk::mat4 camera = qssdk::mat4::identity();
    camera.at(3, 0) = width / 2;
    camera.at(3, 1) = height / 2;
    camera.at(3, 2) = -zoom;
    qssdk::mat4 flipZ = qssdk::mat4::identity();
    flipZ.at(2, 2) = -1;

    render_properties view{};
    view.viewSize = {width, height};
    view.viewMatrix = qssdk::inverse(camera) * flipZ;
    // The window on the image plane, scaled to the near plane at 0.01.
    const float s = 0.01f / zoom;
    const float l = -width / 2 * s, r = width / 2 * s, b = height / 2 * s, t = -height / 2 * s;
    view.projMatrix = qssdk::mat4{{0.02f / (r - l), 0, 0, 0,                                         //
                                   0, 0.02f / (b - t), 0, 0,                                         //
                                   (l + r) / (r - l), (b + t) / (b - t), -1, -1,                     //
                                   0, 0, -0.02f, 0}};
    view.eyePosition = {width / 2, height / 2, -zoom, 0};
    view.imagePlaneDistance = zoom;
    return view;
}

// Unlit, no maps, no illumination: the surface shows its colour.
inline material_properties plainMaterial(uint32_t surface, const vec4& color) {
    material_properties m{};
    m.surface = surface;
    m.unlitMode = 1;
    m.modelColor = color;
    m.diffuseBlend = 1;
    m.diffuseGamma = m.glossinessGamma = m.illuminationGamma = m.environmentGamma = 1;
    m.diffuseBrightness = m.glossinessBrightness = m.illuminationBrightness = m.environmentBrightness = 1;
    m.shadowLightContrast = 1;
    m.environmentRotation = {0, 0, 0, 1};
    m.uvType = 1;
    m.uvMode = 1;
    m.uvRepeat = {1, 1};
    return m;
}

// What the alpha of an image covers, in the host's pixel coordinates (x right, y down from the top left).
struct coverage {
    double area = 0, centerX = 0, centerY = 0;
    double radius() const { return std::sqrt(area / std::numbers::pi); }
};

inline coverage coverageOf(const std::vector<float>& pixels, int width) {
    coverage c;
    for (size_t p = 0; p < pixels.size() / 4; ++p) {
        const double a = pixels[p * 4 + 3];
        c.area += a;
        c.centerX += a * (static_cast<double>(p % width) + 0.5);
        c.centerY += a * (static_cast<double>(p / width) + 0.5);
    }
    if (c.area > 0) {
        c.centerX /= c.area;
        c.centerY /= c.area;
    }
    return c;
}

inline const float* pixelAt(const std::vector<float>& pixels, int width, int x, int y) {
    return &pixels[(static_cast<size_t>(y) * width + x) * 4];
}

class SphereDraw : public RendererFrame {
public:
    static constexpr int width = 160, height = 120;

protected:
    void SetUp() override {
        scene.rotation = {0, 0, 0, 1};
        scene.sphereModel = scene.loadSphereModel();
        ASSERT_NE(scene.sphereModel.index_count, 0u);
    }

    // One sample of the sphere of radius R at the position, through the default camera.
    std::vector<float> draw(const material_properties& material, float radius, float x, float y, float z,
                            unsigned samples = 0, const std::vector<light_properties>& lights = {}) {
        beginFrame(samples, frameOf(width, height));
        scene.setRenderProperties(defaultCamera(width, height));
        scene.position[0] = x;
        scene.position[1] = y;
        scene.position[2] = z;
        scene.scale = radius;
        scene.material = material;
        onRenderer([&](Renderer& r) {
            r.setLights(lights);
            r.clear();
        });
        scene.drawSample(1.0f);
        return accumulation();
    }
};

}  // namespace sphere_drawing
