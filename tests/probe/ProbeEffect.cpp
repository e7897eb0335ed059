// A stand-in effect for the simulated host's own tests: it adds one layer parameter, and in a frame
// checks out its input, that layer and its output through SmartFX, noting everything the host hands it.
// It writes one pixel of the output so a test sees that the host keeps what the effect wrote.
#include <windows.h>

#include <cstring>

#include "ae_smartfx.h"
#include "probe_report.h"

namespace {

probe_report report;
PF_Err preRenderAnswer = PF_Err_NONE;

float channel(const PF_EffectWorld& world, A_short depth, int c) {
    const auto* row = reinterpret_cast<const unsigned char*>(world.data);
    if (depth == 8) return row[c] / 255.0f;
    if (depth == 16) return reinterpret_cast<const A_u_short*>(row)[c] / 32768.0f;
    return reinterpret_cast<const float*>(row)[c];
}

void note(probe_world& out, PF_Err err, const PF_EffectWorld* world, A_short depth) {
    out.err = err;
    if (err || !world) return;
    out.width = world->width;
    out.height = world->height;
    out.rowbytes = world->rowbytes;
    if (world->data && world->width > 0 && world->height > 0)
        for (int c = 0; c < 4; ++c) out.firstPixel[c] = channel(*world, depth, c);
}

void paramsSetup(PF_InData* in, PF_OutData* out) {
    PF_ParamDef def{};
    def.param_type = PF_Param_LAYER;
    std::strcpy(def.name, "Map");
    def.uu.id = 2;
    def.u.ld.dephault = PF_LayerDefault_NONE;
    in->inter.add_param(in->effect_ref, -1, &def);
    out->num_params = 2;
}

void deletePreRenderData(void* data) {
    auto* deleted = static_cast<probe_report*>(data);
    ++deleted->preRenderDataDeletes;
    deleted->rendersAtDelete = deleted->renders;
}

PF_Err preRender(PF_InData* in, PF_PreRenderExtra* extra) {
    ++report.preRenders;
    report.preRenderThread = GetCurrentThreadId();
    report.preRenderIn = *in;
    report.preRenderDepth = extra->input->bitdepth;
    report.outputRequest = extra->input->output_request;
    const PF_RenderRequest request = extra->input->output_request;
    report.inputCheckout = extra->cb->checkout_layer(in->effect_ref, 0, 0, &request, in->current_time,
                                                     in->time_step, in->time_scale, &report.input);
    PF_ParamDef map{};
    report.mapParamCheckout =
        in->inter.checkout_param(in->effect_ref, probeMapIndex, in->current_time, in->time_step, in->time_scale, &map);
    report.mapParamWidth = map.u.ld.width;
    report.mapParamHeight = map.u.ld.height;
    in->inter.checkin_param(in->effect_ref, &map);
    PF_RenderRequest whole{};
    whole.rect = PF_LRect{0, 0, map.u.ld.width, map.u.ld.height};
    whole.channel_mask = PF_ChannelMask_ARGB;
    report.mapCheckout = extra->cb->checkout_layer(in->effect_ref, probeMapIndex, probeMapCheckoutId, &whole,
                                                   in->current_time, in->time_step, in->time_scale, &report.map);
    extra->output->result_rect = report.input.result_rect;
    extra->output->max_result_rect = report.input.max_result_rect;
    extra->output->pre_render_data = &report;
    extra->output->delete_pre_render_data_func = deletePreRenderData;
    return preRenderAnswer;
}

PF_Err smartRender(PF_InData* in, PF_SmartRenderExtra* extra) {
    ++report.renders;
    report.renderThread = GetCurrentThreadId();
    report.renderIn = *in;
    report.renderPreRenderData = extra->input->pre_render_data;
    const A_short depth = extra->input->bitdepth;
    report.renderDepth = depth;
    PF_EffectWorld* world = nullptr;
    PF_Err err = extra->cb->checkout_layer_pixels(in->effect_ref, 0, &world);
    note(report.inputPixels, err, world, depth);
    world = nullptr;
    err = extra->cb->checkout_layer_pixels(in->effect_ref, probeMapCheckoutId, &world);
    note(report.mapPixels, err, world, depth);
    extra->cb->checkin_layer_pixels(in->effect_ref, probeMapCheckoutId);
    extra->cb->checkin_layer_pixels(in->effect_ref, 0);
    world = nullptr;
    err = extra->cb->checkout_output(in->effect_ref, &world);
    note(report.output, err, world, depth);
    if (!err && world && world->data && depth == 8) {
        auto* pixel = reinterpret_cast<unsigned char*>(world->data);
        pixel[0] = 255;  // opaque red
        pixel[1] = 255;
    }
    return PF_Err_NONE;
}

}  // namespace

extern "C" __declspec(dllexport) PF_Err PluginMain(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data,
                                                   PF_ParamDef*[], PF_LayerDef*, void* extra) {
    switch (command) {
    case PF_Cmd_PARAMS_SETUP:
        paramsSetup(in_data, out_data);
        return PF_Err_NONE;
    case PF_Cmd_SMART_PRE_RENDER:
        return preRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER:
        return smartRender(in_data, static_cast<PF_SmartRenderExtra*>(extra));
    default:
        return PF_Err_NONE;
    }
}

extern "C" __declspec(dllexport) probe_report* ProbeReport() { return &report; }
extern "C" __declspec(dllexport) void ProbeAnswerPreRender(PF_Err err) { preRenderAnswer = err; }
