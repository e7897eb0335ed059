// The render front end: the host layer's one way into the renderer. Every operation becomes a job on
// the renderer thread that the caller waits for.
#pragma once

#include <memory>
#include <vector>

#include "RendererThread.h"
#include "mat4.h"
#include "quaternion.h"
#include "render_records.h"

class SceneRenderer {
    // First, so that it is destroyed last.
    std::unique_ptr<RendererThread> thread_;

public:
    // Starts the renderer thread; a failure to make the Renderer leaves here as its exception.
    explicit SceneRenderer(RendererThread::RendererFactory factory = {});

    RendererThread& thread() { return *thread_; }

    // Inflates the sphere mesh here and uploads it on the renderer thread; the caller keeps the result in
    // sphereModel. All zero when the renderer thread has ended.
    model_ref loadSphereModel();
    // Copies the view into renderProperties and hands that copy to the renderer.
    void setRenderProperties(const render_properties& view);
    // Draws the sphere with the object's placement and material, then composites it with the weight.
    void drawSample(float weight);

    // What the gather and smart render fill for each sample, read by the jobs of the sample.
    model_ref sphereModel;
    render_properties renderProperties{};
    int32_t objectType = 0;  // 1 sphere, 2 hemisphere
    float position[4] = {};  // world units; the fourth value is not read
    qssdk::quaternion rotation{0, 0, 0, 0};
    float scale = 0;        // uniform scale, the radius parameter
    float outputGamma = 0;  // 1 / the gamma parameter
    material_properties material{};
    std::vector<light_properties> lights;
};

// The model matrix of a sample (row vectors): scaled first, then rotated, then moved, so elements 12, 13
// and 14 hold the position.
qssdk::mat4 modelMatrix(const float position[4], const qssdk::quaternion& rotation, float scale);
