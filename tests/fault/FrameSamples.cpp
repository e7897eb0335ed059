// A third seam of the test build of the effect module: Renderer::beginFrame wrapped by the linker, so that
// a test can read the multisample count the effect asked the renderer for. The renderer itself clamps the
// count to what the GL allows, so the frame's targets cannot tell 8 or 16 from 4 on a renderer that stops at 4.
#include <atomic>

#include "Renderer.h"

namespace {

constexpr long long noFrame = -1;
std::atomic<long long> requestedSamples{noFrame};

}  // namespace

extern "C" void __real__ZN8Renderer10beginFrameEjRK11render_data(Renderer* renderer, unsigned sampleCount,
                                                                 const render_data& frame);

extern "C" void __wrap__ZN8Renderer10beginFrameEjRK11render_data(Renderer* renderer, unsigned sampleCount,
                                                                 const render_data& frame) {
    requestedSamples = sampleCount;
    __real__ZN8Renderer10beginFrameEjRK11render_data(renderer, sampleCount, frame);
}

// The sample count of the last frame begun, and forgets it; -1 when no frame was begun since.
extern "C" __declspec(dllexport) long long qs_test_take_requested_samples() { return requestedSamples.exchange(noFrame); }
