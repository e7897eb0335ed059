// The SmartFX glue of the effect: pre-render checkouts and the render's job sequence.
#pragma once

#include "ae_smartfx.h"
#include "command_context.h"
#include "render_records.h"

// Checks out a layer's pixels (id >= 0) or the output (id < 0) into `buffer`; a host error goes to the
// context (a success leaves the context's error as it was). Null on failure, with `buffer` left empty.
// `bytesPerChannel` is the frame's, which the host gives once for all of its checkouts.
PF_EffectWorld* checkoutWorld(command_context& context, A_long checkoutId, int32_t bytesPerChannel,
                              pixel_buffer& buffer);

// Command 23 before smartPreRender: the input checkout and the result rectangles.
void smartPreRenderGlue(command_context& context);
// Command 24 before smartRender: fills the frame block; false when the input or output cannot be had.
bool smartRenderGlue(command_context& context, render_data& frame);

// Pre-render checkout of a layer parameter, with the disk id as the checkout id; the host's result.
PF_CheckoutResult checkoutLayerParam(command_context& context, int id);
// The motion-blur samples of a frame: how many, and the shutter's opening and length, each as a fraction
// of the frame.
struct motion_blur {
    uint32_t samples = 1;
    float shutter = 0;  // the angle over 360 degrees
    float phase = 0;    // where the shutter opens, from the frame's time: the phase over 360 degrees
};
motion_blur motionBlurSettings(command_context& context);

// The host time of sample `index` of a frame at `frameTime`: the shutter opens at the comp's phase and
// the samples run forward over its angle, each at the latest host time at or before its exact time. The
// sum is taken in 64 bits and held within the host's 32-bit times.
A_long sampleTime(A_long frameTime, A_long frameStep, const motion_blur& blur, uint32_t index);
