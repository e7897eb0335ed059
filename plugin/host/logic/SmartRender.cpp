#include "SmartRender.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ParamIds.h"
#include "ParamRegistry.h"
#include "RatioValue.h"
#include "SuiteHandler.h"

namespace {

bool isEmpty(const PF_LRect& r) { return r.left >= r.right || r.top >= r.bottom; }

// An empty rectangle takes the other; a non-empty one grows to hold the other.
void unite(PF_LRect& into, const PF_LRect& other) {
    if (isEmpty(into)) {
        into = other;
    } else if (!isEmpty(other)) {
        into.left = std::min(into.left, other.left);
        into.top = std::min(into.top, other.top);
        into.right = std::max(into.right, other.right);
        into.bottom = std::max(into.bottom, other.bottom);
    }
}

}  // namespace

PF_EffectWorld* checkoutWorld(command_context& context, A_long checkoutId, int32_t bytesPerChannel,
                              pixel_buffer& buffer) {
    auto* extra = static_cast<PF_SmartRenderExtra*>(context.extra);
    PF_EffectWorld* world = nullptr;
    const PF_Err err = checkoutId >= 0
                           ? extra->cb->checkout_layer_pixels(context.in_data->effect_ref, checkoutId, &world)
                           : extra->cb->checkout_output(context.in_data->effect_ref, &world);
    // Only a failure is kept: a later checkout that succeeds must not hide an earlier one from the host.
    if (err != PF_Err_NONE) context.err = err;
    if (err != PF_Err_NONE || !world) {
        buffer.row_bytes = 0;
        buffer.bytes_per_channel = 1;
        buffer.data = nullptr;
        return nullptr;
    }
    buffer.row_bytes = static_cast<uint32_t>(world->rowbytes);
    buffer.bytes_per_channel = static_cast<uint32_t>(bytesPerChannel);
    buffer.width = static_cast<uint32_t>(world->width);
    buffer.height = static_cast<uint32_t>(world->height);
    buffer.data = reinterpret_cast<uint8_t*>(world->data);  // the host declares 8-bit pixels for every depth
    return world;
}

void smartPreRenderGlue(command_context& context) {
    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    if (!extra) return;  // a host that hands no request gets nothing checked out
    const PF_InData& in = *context.in_data;
    PF_RenderRequest request = extra->input->output_request;
    PF_CheckoutResult result{};
    extra->cb->checkout_layer(in.effect_ref, 0, 0, &request, in.current_time, in.time_step, in.time_scale, &result);
    unite(extra->output->result_rect, result.result_rect);
    unite(extra->output->max_result_rect, result.max_result_rect);
}

PF_CheckoutResult checkoutLayerParam(command_context& context, int id) {
    const PF_InData& in = *context.in_data;
    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    // The whole layer, whatever its size: the host hands over what the layer has of that (its result
    // rectangles say how much), so no checkout of the parameter is needed to learn the size first, which
    // would make the host render the layer once more.
    PF_RenderRequest request{};
    request.rect = PF_LRect{0, 0, std::numeric_limits<A_long>::max(), std::numeric_limits<A_long>::max()};
    request.field = PF_Field_FRAME;
    request.channel_mask = PF_ChannelMask_ARGB;
    request.preserve_rgb_of_zero_alpha = true;
    PF_CheckoutResult result{};
    extra->cb->checkout_layer(in.effect_ref, paramIndexOf(id), id, &request, in.current_time, in.time_step,
                              in.time_scale, &result);
    return result;
}

bool smartRenderGlue(command_context& context, render_data& frame) {
    auto* extra = static_cast<PF_SmartRenderExtra*>(context.extra);
    if (!extra) return false;
    const PF_InData& in = *context.in_data;
    frame.bytes_per_channel = extra->input->bitdepth / 8;
    frame.downsample_x = denOverNum(in.downsample_x);
    frame.downsample_y = denOverNum(in.downsample_y);
    frame.pixel_aspect = denOverNum(in.pixel_aspect_ratio);
    if (!checkoutWorld(context, 0, frame.bytes_per_channel, frame.input)) return false;
    PF_EffectWorld* output = checkoutWorld(context, -1, frame.bytes_per_channel, frame.output);
    if (!output) return false;
    const auto full = [](const PF_RationalScale& ds, A_long size) {
        return static_cast<int32_t>(std::ceil(static_cast<float>(ds.num) * static_cast<float>(size) /
                                              static_cast<float>(ds.den)));
    };
    frame.full_width = std::max<int32_t>(full(in.downsample_x, in.width), static_cast<int32_t>(frame.output.width));
    frame.full_height = std::max<int32_t>(full(in.downsample_y, in.height), static_cast<int32_t>(frame.output.height));
    frame.origin_x = output->origin_x;
    frame.origin_y = output->origin_y;
    return true;
}

motion_blur motionBlurSettings(command_context& context) {
    reserveParamTables();
    SuiteHandler suites(context.in_data->pica_basicP);
    AEGP_LayerH layer = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerFlags layerFlags = 0;
    AEGP_CompFlags compFlags = 0;
    A_Ratio angle{0, 1}, phase{0, 1};
    if (const auto* pf = suites.get<AEGP_PFInterfaceSuite1>()) pf->AEGP_GetEffectLayer(context.in_data->effect_ref, &layer);
    if (const auto* layers = suites.get<AEGP_LayerSuite5>()) {
        layers->AEGP_GetLayerParentComp(layer, &comp);
        layers->AEGP_GetLayerFlags(layer, &layerFlags);
    }
    if (const auto* comps = suites.get<AEGP_CompSuite5>()) {
        comps->AEGP_GetCompFlags(comp, &compFlags);
        comps->AEGP_GetCompShutterAnglePhase(comp, &angle, &phase);
    }
    motion_blur blur;
    blur.shutter = numOverDenOr(angle, 0.0f);
    const int32_t mode = readIntParam(context, param::motionBlur);
    const bool switchesOn = (compFlags & AEGP_CompFlag_ENABLE_MOTION_BLUR) && (layerFlags & AEGP_LayerFlag_MOTION_BLUR);
    const bool blurred = mode == param::motionBlurOn || (mode != param::motionBlurOff && switchesOn);
    if (!blurred) return blur;  // one sample at the frame's time
    blur.samples = static_cast<uint32_t>(readFloatParam(context, param::motionBlurSamples) + 0.5f);
    // The shutter opens where the comp's does, so the sphere's blur lines up with every other layer's;
    // "On" makes only the angle the effect's own.
    blur.phase = numOverDenOr(phase, 0.0f);
    if (mode == param::motionBlurOn) blur.shutter = readFloatParam(context, param::shutterAngle) * 0.0027777778f;
    return blur;
}

A_long sampleTime(A_long frameTime, A_long frameStep, const motion_blur& blur, uint32_t index) {
    // The fraction is formed as it always was, so a phase of 0 gives the times it always gave.
    const float fraction = blur.phase + static_cast<float>(index) * blur.shutter / static_cast<float>(blur.samples);
    const int64_t offset = static_cast<int64_t>(std::floor(static_cast<float>(frameStep) * fraction));
    return static_cast<A_long>(std::clamp<int64_t>(static_cast<int64_t>(frameTime) + offset,
                                                   std::numeric_limits<A_long>::min(),
                                                   std::numeric_limits<A_long>::max()));
}
