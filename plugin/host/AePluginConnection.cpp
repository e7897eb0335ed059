#include "AePluginConnection.h"

#include <memory>
#include <string>

#include "LayerPlacement.h"
#include "MapLayers.h"
#include "ProductInfo.h"
#include "SceneRenderer.h"
#include "SequenceData.h"
#include "SmartRender.h"
#include "SuiteHandler.h"
#include "qs_exception.h"

AePluginConnection::AePluginConnection() = default;
AePluginConnection::~AePluginConnection() = default;

void AePluginConnection::globalSetup(command_context&) {
    try {
        // Waits until the renderer thread has made its Renderer, so a GL start-up failure surfaces here.
        auto renderer = std::make_unique<SceneRenderer>();
        renderer->sphereModel = renderer->loadSphereModel();
        renderer_ = std::move(renderer);  // a front end of an earlier set-up is destroyed
    } catch (const std::exception& error) {
        throw qs_exception(std::string(product::displayName) + " failed to initialize with error:\n\n" +
                           error.what());
    }
}

void AePluginConnection::globalSetdown(command_context& context) {
    SuiteHandler suites(context.in_data->pica_basicP);
    banner_.releaseHostImages(suites);
    // Asks the renderer thread to quit and waits until it has ended.
    renderer_.reset();
}

RendererThread* AePluginConnection::rendererThread() const { return renderer_ ? &renderer_->thread() : nullptr; }

PF_Handle AePluginConnection::sequenceSetup(command_context& context) {
    return sequence::setup(*context.in_data->utils);
}

void AePluginConnection::sequenceSetdown(command_context& context, PF_Handle handle) {
    sequence::setdown(*context.in_data->utils, handle, rendererThread());
}

PF_Handle AePluginConnection::sequenceFlatten(command_context& context, PF_Handle handle) {
    return sequence::flatten(*context.in_data->utils, handle, rendererThread(), context.err);
}

PF_Handle AePluginConnection::sequenceResetup(command_context& context, PF_Handle handle) {
    return sequence::resetup(*context.in_data->utils, handle, rendererThread());
}

namespace {

void deleteLayerExtents(void* extents) { delete static_cast<frame_layer_extents*>(extents); }

}  // namespace

void AePluginConnection::smartPreRender(command_context& context) {
    // Where each layer's pixels will lie, for the render: the host hands it this data back, and gives it
    // to the delete function once the frame no longer needs it.
    auto extents = std::make_unique<frame_layer_extents>();
    const PF_InData& in = *context.in_data;
    for (const map_layer& layer : mapLayers)
        extents->of[layer.cacheSlot] =
            extentOf(checkoutLayerParam(context, layer.id), in.downsample_x, in.downsample_y);
    PF_PreRenderOutput& output = *static_cast<PF_PreRenderExtra*>(context.extra)->output;
    output.pre_render_data = extents.release();
    output.delete_pre_render_data_func = deleteLayerExtents;
}

void AePluginConnection::handleEvent(command_context& context) { banner_.handleEvent(context); }
