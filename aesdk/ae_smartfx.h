// The host's SmartFX protocol: pre-render requests and checkouts, and render-time pixel checkouts.
#pragma once

#include "ae_effect.h"

typedef A_long PF_ChannelMask;
enum : PF_ChannelMask {
    PF_ChannelMask_ALPHA = 1 << 0,
    PF_ChannelMask_RED = 1 << 1,
    PF_ChannelMask_GREEN = 1 << 2,
    PF_ChannelMask_BLUE = 1 << 3,
    PF_ChannelMask_ARGB = 15,
};

struct PF_RenderRequest {
    PF_LRect rect;
    PF_Field field;
    PF_ChannelMask channel_mask;
    PF_Boolean preserve_rgb_of_zero_alpha;
    A_char unused[3];
    A_long reserved[4];
};

struct PF_CheckoutResult {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_RationalScale par;
    PF_Boolean solid;
    A_long ref_width;
    A_long ref_height;
    A_long reserved[6];
};

struct PF_PreRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth;
    A_u_longlong : 64;  // the host's GPU words: this effect renders on the CPU side of the host's interface
    A_u_longlong : 64;
};

typedef void (*PF_DeletePreRenderDataFunc)(void* pre_render_data);

struct PF_PreRenderOutput {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_Boolean solid;
    PF_Boolean reserved;
    A_short flags;
    void* pre_render_data;
    PF_DeletePreRenderDataFunc delete_pre_render_data_func;
};

struct PF_PreRenderCallbacks {
    PF_Err (*checkout_layer)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_idL,
                             const PF_RenderRequest* req, A_long what_time, A_long time_step, A_u_long time_scale,
                             PF_CheckoutResult* result);
    AE_UnusedSlot reserved;
};

struct PF_PreRenderExtra {
    PF_PreRenderInput* input;
    PF_PreRenderOutput* output;
    PF_PreRenderCallbacks* cb;
};

struct PF_SmartRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth;  // bits per channel: 8, 16 or 32
    void* pre_render_data;
    A_u_longlong : 64;  // the host's GPU words, as in PF_PreRenderInput
    A_u_longlong : 64;
};

struct PF_SmartRenderCallbacks {
    PF_Err (*checkout_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL, PF_EffectWorld** pixels);
    PF_Err (*checkin_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_idL);
    PF_Err (*checkout_output)(PF_ProgPtr effect_ref, PF_EffectWorld** output);
};

struct PF_SmartRenderExtra {
    PF_SmartRenderInput* input;
    PF_SmartRenderCallbacks* cb;
};
