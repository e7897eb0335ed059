// What the probe effect saw of the simulated host during one frame; the test reads it through the
// probe's ProbeReport export.
#pragma once

#include "ae_effect.h"
#include "ae_smartfx.h"

struct probe_world {
    PF_Err err = -1;  // -1: not checked out
    A_long width = 0, height = 0, rowbytes = 0;
    float firstPixel[4] = {};  // alpha, red, green, blue of the top-left pixel, 0..1
};

struct probe_report {
    int preRenders = 0, renders = 0;
    PF_InData preRenderIn{}, renderIn{};
    A_short preRenderDepth = 0, renderDepth = 0;
    PF_RenderRequest outputRequest{};
    PF_Err inputCheckout = -1, mapCheckout = -1;
    PF_CheckoutResult input{}, map{};
    PF_Err mapParamCheckout = -1;
    A_long mapParamWidth = 0, mapParamHeight = 0;  // the "Map" layer parameter's size during pre-render
    probe_world inputPixels, mapPixels, output;
    // The probe's pre-render data is this report: what the render received, and how often and after how
    // many renders the host gave it back through the delete function.
    const void* renderPreRenderData = nullptr;
    int preRenderDataDeletes = 0;
    int rendersAtDelete = -1;
    unsigned long preRenderThread = 0, renderThread = 0;  // the ids of the threads the commands came on
};

// The probe's layer parameter after the input layer, and the checkout id it uses for it.
constexpr PF_ParamIndex probeMapIndex = 1;
constexpr A_long probeMapCheckoutId = 7;
