// The second seam of the test build of the effect module: Renderer::drawModel wrapped by the linker, so
// that a test can read the material record the renderer received for the last draw. The draw itself runs
// unchanged.
#include <cstring>
#include <mutex>

#include "Renderer.h"

namespace {

std::mutex drawnMutex;
material_properties drawnMaterial{};
bool drawn = false;

}  // namespace

extern "C" void __real__ZN8Renderer9drawModelERK9model_refRKN5qssdk4mat4ERK19material_properties(
    Renderer* renderer, const model_ref& model, const qssdk::mat4& modelMatrix, const material_properties& material);

extern "C" void __wrap__ZN8Renderer9drawModelERK9model_refRKN5qssdk4mat4ERK19material_properties(
    Renderer* renderer, const model_ref& model, const qssdk::mat4& modelMatrix, const material_properties& material) {
    {
        std::lock_guard guard(drawnMutex);
        drawnMaterial = material;
        drawn = true;
    }
    __real__ZN8Renderer9drawModelERK9model_refRKN5qssdk4mat4ERK19material_properties(renderer, model, modelMatrix,
                                                                                     material);
}

// Copies the material of the last draw into `out` and forgets it; false when nothing was drawn since.
extern "C" __declspec(dllexport) bool qs_test_take_drawn_material(material_properties* out) {
    std::lock_guard guard(drawnMutex);
    if (!drawn) return false;
    std::memcpy(out, &drawnMaterial, sizeof drawnMaterial);
    drawn = false;
    return true;
}
