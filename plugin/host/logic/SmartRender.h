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

// Pre-render checkout of a layer parameter, with the disk id as the checkout id.
void checkoutLayerParam(command_context& context, int id);
// The number of motion-blur samples and the shutter as a fraction of the frame.
void motionBlurSettings(command_context& context, uint32_t& samples, float& shutter);
