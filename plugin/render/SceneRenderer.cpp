#include "SceneRenderer.h"

#include "Renderer.h"
#include "SphereMesh.h"

SceneRenderer::SceneRenderer(RendererThread::RendererFactory factory)
    : thread_(std::make_unique<RendererThread>(std::move(factory))) {}

model_ref SceneRenderer::loadSphereModel() {
    const mesh_data mesh = inflateSphereMesh();
    model_ref model;
    thread_->postAndWait([&] { model = uploadMesh(mesh); });
    return model;
}

void SceneRenderer::setRenderProperties(const render_properties& view) {
    renderProperties = view;
    if (Renderer* renderer = thread_->renderer())
        thread_->postAndWait([renderer, &view = renderProperties] { renderer->setRenderProperties(view); });
}

void SceneRenderer::drawSample(float weight) {
    Renderer* renderer = thread_->renderer();
    if (!renderer) return;
    const qssdk::mat4 model = modelMatrix(position, rotation, scale);
    thread_->postAndWait([renderer, &model, this] { renderer->drawModel(sphereModel, model, material); });
    thread_->postAndWait([renderer, weight] { renderer->compositeSample(weight); });
}

qssdk::mat4 modelMatrix(const float position[4], const qssdk::quaternion& rotation, float scale) {
    qssdk::mat4 scaling{};
    scaling.at(0, 0) = scaling.at(1, 1) = scaling.at(2, 2) = scale;
    scaling.at(3, 3) = 1;
    qssdk::mat4 translation = qssdk::mat4::identity();
    translation.at(3, 0) = position[0];
    translation.at(3, 1) = position[1];
    translation.at(3, 2) = position[2];
    return scaling * qssdk::mat4_from_quaternion(rotation) * translation;
}
