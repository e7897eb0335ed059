#include "SmartRender.h"

#include <algorithm>

#include "LayerRef.h"
#include "SimulatedHost.h"

namespace hostsim {

namespace {

SmartRenderSession& session() { return SimulatedHost::current().activeSession(); }

PF_Err checkoutLayer(PF_ProgPtr, PF_ParamIndex index, A_long id, const PF_RenderRequest* req, A_long what_time,
                     A_long, A_u_long, PF_CheckoutResult* result) {
    return session().checkoutLayer(index, id, req, what_time, result);
}
PF_Err checkoutLayerPixels(PF_ProgPtr, A_long id, PF_EffectWorld** pixels) {
    return session().checkoutLayerPixels(id, pixels);
}
PF_Err checkinLayerPixels(PF_ProgPtr, A_long id) { return session().checkinLayerPixels(id); }
PF_Err checkoutOutput(PF_ProgPtr, PF_EffectWorld** output) { return session().checkoutOutput(output); }

// A box filter to 1/factor of the size, as the host renders layers at a reduced resolution.
Image downsampled(const Image& image, int factor) {
    if (factor <= 1) return image;
    const int w = downsampledSize(image.width(), factor), h = downsampledSize(image.height(), factor);
    Image result(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            rgba sum;
            int count = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const int sx = x * factor + dx, sy = y * factor + dy;
                    if (sx >= image.width() || sy >= image.height()) continue;
                    const rgba& p = image.at(sx, sy);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                    ++count;
                }
            result.at(x, y) = {sum.r / count, sum.g / count, sum.b / count, sum.a / count};
        }
    return result;
}

}  // namespace

SmartRenderSession::SmartRenderSession(const frame_request& request, int width, int height,
                                       std::function<std::shared_ptr<const Image>(PF_ParamIndex)> layerImage)
    : request_(request), width_(width), height_(height), layerImage_(std::move(layerImage)) {
    PF_RenderRequest whole{};
    whole.rect = PF_LRect{0, 0, width, height};
    whole.field = PF_Field_FRAME;
    whole.channel_mask = PF_ChannelMask_ARGB;
    preInput_.output_request = whole;
    preInput_.bitdepth = static_cast<A_short>(request.bitsPerChannel);
    preCallbacks_.checkout_layer = hostsim::checkoutLayer;
    preExtra_ = PF_PreRenderExtra{&preInput_, &preOutput_, &preCallbacks_};
    renderInput_.output_request = whole;
    renderInput_.bitdepth = static_cast<A_short>(request.bitsPerChannel);
    renderCallbacks_ = PF_SmartRenderCallbacks{hostsim::checkoutLayerPixels, hostsim::checkinLayerPixels,
                                               hostsim::checkoutOutput};
    renderExtra_ = PF_SmartRenderExtra{&renderInput_, &renderCallbacks_};
    output_ = std::make_unique<World>(width, height, request.bitsPerChannel, request.outputRowPadding);
}

SmartRenderSession::~SmartRenderSession() {
    if (preOutput_.pre_render_data && preOutput_.delete_pre_render_data_func)
        preOutput_.delete_pre_render_data_func(preOutput_.pre_render_data);
}

std::shared_ptr<const Image> SmartRenderSession::scaledLayer(PF_ParamIndex index) {
    std::shared_ptr<const Image> image = layerImage_ ? layerImage_(index) : nullptr;
    if (!image || request_.downsample <= 1) return image;
    return std::make_shared<const Image>(downsampled(*image, request_.downsample));
}

void SmartRenderSession::finishPreRender(PF_Err result) {
    record_.preRenderResult = result;
    record_.resultRect = preOutput_.result_rect;
    record_.maxResultRect = preOutput_.max_result_rect;
    renderInput_.pre_render_data = preOutput_.pre_render_data;
}

void SmartRenderSession::finishRender(PF_Err result) {
    record_.renderSent = true;
    record_.renderResult = result;
}

PF_Err SmartRenderSession::checkoutLayer(PF_ParamIndex index, A_long id, const PF_RenderRequest* req, A_long time,
                                         PF_CheckoutResult* result) {
    record_.layerCheckouts.push_back({index, id, req ? *req : PF_RenderRequest{}, time});
    checkedOut_[id] = index;
    if (!result) return PF_Err_BAD_CALLBACK_PARAM;
    *result = PF_CheckoutResult{};
    const std::shared_ptr<const Image> image = scaledLayer(index);
    const int w = index == 0 ? width_ : (image ? image->width() : 0);
    const int h = index == 0 ? height_ : (image ? image->height() : 0);
    result->max_result_rect = PF_LRect{0, 0, w, h};
    result->result_rect = result->max_result_rect;
    if (req) {  // what was asked for, within what there is
        result->result_rect.left = std::max(req->rect.left, 0);
        result->result_rect.top = std::max(req->rect.top, 0);
        result->result_rect.right = std::min(req->rect.right, w);
        result->result_rect.bottom = std::min(req->rect.bottom, h);
    }
    result->par = PF_RationalScale{1, 1};
    result->ref_width = w;
    result->ref_height = h;
    return PF_Err_NONE;
}

PF_Err SmartRenderSession::checkoutLayerPixels(A_long id, PF_EffectWorld** pixels) {
    record_.pixelCheckouts.push_back(id);
    if (!pixels) return PF_Err_BAD_CALLBACK_PARAM;
    *pixels = nullptr;
    if (refusePixels && refusePixels(id)) return PF_Err_OUT_OF_MEMORY;
    auto it = checkedOut_.find(id);
    if (it == checkedOut_.end()) return PF_Err_BAD_CALLBACK_PARAM;  // not checked out at pre-render
    if (World* world = layerPixels(id, it->second)) *pixels = &world->def();
    return PF_Err_NONE;
}

void SmartRenderSession::prepareLayerPixels() {
    for (const auto& [id, index] : checkedOut_) layerPixels(id, index);
}

World* SmartRenderSession::layerPixels(A_long id, PF_ParamIndex index) {
    auto& world = pixels_[id];
    if (world) return world.get();
    if (index == 0) {
        world = std::make_unique<World>(width_, height_, request_.bitsPerChannel);
        return world.get();
    }
    const std::shared_ptr<const Image> image = scaledLayer(index);
    if (!image) return nullptr;
    world = std::make_unique<World>(image->width(), image->height(), request_.bitsPerChannel);
    world->fill(*image);
    return world.get();
}

PF_Err SmartRenderSession::checkinLayerPixels(A_long) { return PF_Err_NONE; }

PF_Err SmartRenderSession::checkoutOutput(PF_EffectWorld** output) {
    ++record_.outputCheckouts;
    if (!output) return PF_Err_BAD_CALLBACK_PARAM;
    *output = &output_->def();
    return PF_Err_NONE;
}

}  // namespace hostsim
