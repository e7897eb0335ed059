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

std::vector<A_long> frame_record::checkoutIds() const {
    std::vector<A_long> ids;
    for (const checkout& c : layerCheckouts)
        if (std::find(ids.begin(), ids.end(), c.id) == ids.end()) ids.push_back(c.id);
    return ids;
}

SmartRenderSession::SmartRenderSession(const frame_request& request, int width, int height,
                                       std::function<layer_source(PF_ParamIndex)> layerSource)
    : request_(request), width_(width), height_(height), layerSource_(std::move(layerSource)) {
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

layer_source SmartRenderSession::scaledLayer(PF_ParamIndex index) {
    layer_source source = layerSource_ ? layerSource_(index) : layer_source{};
    if (source.image && request_.downsample > 1)
        source.image = std::make_shared<const Image>(downsampled(*source.image, request_.downsample));
    return source;
}

void SmartRenderSession::layerParamCheckedOut(PF_ParamIndex index) {
    const layer_source source = layerSource_ ? layerSource_(index) : layer_source{};
    if (source.image) ++record_.layerRenders[source.id];
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
    // Sizes only: the layer is rendered once the pre-render has said what it needs.
    const std::shared_ptr<const Image> image = scaledLayer(index).image;
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
    // One pixel checkout for each checkout id: a layer read twice is checked out twice, under two ids.
    if (std::count(record_.pixelCheckouts.begin(), record_.pixelCheckouts.end(), id) > 1) {
        record_.faults.push_back("the pixels of checkout id " + std::to_string(id) + " were checked out again");
        return PF_Err_BAD_CALLBACK_PARAM;
    }
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
    // Rendered once: what the layer parameter names later in the frame changes nothing.
    auto [slot, fresh] = pixels_.try_emplace(id);
    std::unique_ptr<World>& world = slot->second;
    if (!fresh) return world.get();
    if (index == 0) {
        world = std::make_unique<World>(width_, height_, request_.bitsPerChannel);
        return world.get();
    }
    const layer_source source = scaledLayer(index);
    if (!source.image) return nullptr;
    world = std::make_unique<World>(source.image->width(), source.image->height(), request_.bitsPerChannel);
    world->fill(*source.image);
    ++record_.layerRenders[source.id];
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
