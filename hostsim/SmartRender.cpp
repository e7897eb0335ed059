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

// A box filter to 1/factor of the size on each axis, as the host renders layers at a reduced resolution.
Image downsampled(const Image& image, downsample_factors factor) {
    if (factor.x <= 1 && factor.y <= 1) return image;
    const int fx = std::max(factor.x, 1), fy = std::max(factor.y, 1);
    const int w = downsampledSize(image.width(), fx), h = downsampledSize(image.height(), fy);
    Image result(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            rgba sum;
            int count = 0;
            for (int dy = 0; dy < fy; ++dy)
                for (int dx = 0; dx < fx; ++dx) {
                    const int sx = x * fx + dx, sy = y * fy + dy;
                    if (sx >= image.width() || sy >= image.height()) continue;
                    const rgba& p = image.at(sx, sy);
                    sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                    ++count;
                }
            result.at(x, y) = {sum.r / count, sum.g / count, sum.b / count, sum.a / count};
        }
    return result;
}

// The bounding box of the pixels that are not transparent; empty for a picture with none.
PF_LRect contentBounds(const Image& image) {
    PF_LRect box{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.at(x, y).a > 0) {
                box.left = std::min<A_long>(box.left, x);
                box.top = std::min<A_long>(box.top, y);
                box.right = std::max<A_long>(box.right, x + 1);
                box.bottom = std::max<A_long>(box.bottom, y + 1);
            }
    return box.left < box.right ? box : PF_LRect{0, 0, 0, 0};
}

PF_LRect intersection(const PF_LRect& a, const PF_LRect& b) {
    const PF_LRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
    return r.left < r.right && r.top < r.bottom ? r : PF_LRect{0, 0, 0, 0};
}

Image cropped(const Image& image, const PF_LRect& rect) {
    Image part(rect.right - rect.left, rect.bottom - rect.top);
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) part.at(x, y) = image.at(rect.left + x, rect.top + y);
    return part;
}

}  // namespace

std::vector<A_long> frame_record::checkoutIds() const {
    std::vector<A_long> ids;
    for (const checkout& c : layerCheckouts)
        if (std::find(ids.begin(), ids.end(), c.id) == ids.end()) ids.push_back(c.id);
    return ids;
}

SmartRenderSession::SmartRenderSession(const frame_request& request, int compWidth, int compHeight,
                                       PF_RationalScale pixelAspect,
                                       std::function<layer_source(PF_ParamIndex)> layerSource)
    : request_(request), compWidth_(compWidth), compHeight_(compHeight),
      width_(downsampledSize(compWidth, request.downsample.x)), height_(downsampledSize(compHeight, request.downsample.y)),
      pixelAspect_(pixelAspect), layerSource_(std::move(layerSource)) {
    PF_RenderRequest whole{};
    whole.rect = PF_LRect{0, 0, width_, height_};
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
    output_ = std::make_unique<World>(width_, height_, request.bitsPerChannel, request.outputRowPadding);
}

SmartRenderSession::~SmartRenderSession() {
    if (preOutput_.pre_render_data && preOutput_.delete_pre_render_data_func)
        preOutput_.delete_pre_render_data_func(preOutput_.pre_render_data);
}

layer_source SmartRenderSession::scaledLayer(PF_ParamIndex index) {
    layer_source source = layerSource_ ? layerSource_(index) : layer_source{};
    if (source.image && request_.downsample != downsample_factors{})
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
    const layer_source source = layerSource_ ? layerSource_(index) : layer_source{};
    const std::shared_ptr<const Image> image = index == 0 ? nullptr : scaledLayer(index).image;
    const int w = index == 0 ? width_ : (image ? image->width() : 0);
    const int h = index == 0 ? height_ : (image ? image->height() : 0);
    // The rectangles are in the frame's pixels: what the layer has at the frame's downsampling.
    result->max_result_rect =
        index != 0 && image && request_.sparseLayers ? contentBounds(*image) : PF_LRect{0, 0, w, h};
    // What was asked for, within what there is; no request asks for all of it.
    result->result_rect = req ? intersection(req->rect, result->max_result_rect) : result->max_result_rect;
    if (index != 0 && image && request_.sparseLayers) trimmedTo_[id] = result->result_rect;
    result->par = pixelAspect_;
    result->solid = false;  // no layer here is known to be opaque over all of its result
    // The reference size is the layer's at full resolution, whatever the frame's downsampling.
    result->ref_width = index == 0 ? compWidth_ : (source.image ? source.image->width() : 0);
    result->ref_height = index == 0 ? compHeight_ : (source.image ? source.image->height() : 0);
    record_.layerCheckouts.back().result = result->result_rect;
    record_.layerCheckouts.back().refWidth = result->ref_width;
    record_.layerCheckouts.back().refHeight = result->ref_height;
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
    ++record_.layerRenders[source.id];
    const auto trim = trimmedTo_.find(id);
    if (trim == trimmedTo_.end()) {
        world = std::make_unique<World>(source.image->width(), source.image->height(), request_.bitsPerChannel);
        world->fill(*source.image);
        return world.get();
    }
    // Only the result rectangle's pixels, in a world whose origin is the rectangle's corner in the layer.
    const PF_LRect& rect = trim->second;
    if (rect.left >= rect.right) return nullptr;  // a layer with no content hands no pixels
    world = std::make_unique<World>(rect.right - rect.left, rect.bottom - rect.top, request_.bitsPerChannel);
    world->fill(cropped(*source.image, rect));
    world->def().origin_x = rect.left;
    world->def().origin_y = rect.top;
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
