// The SmartFX glue of the effect: pre-render checkouts and the render's job sequence.
#pragma once

#include "AePlugin.h"
#include "ae_smartfx.h"
#include "render_records.h"

// Checks out a layer's pixels (id >= 0) or the output (id < 0) into `buffer`; a host error goes to the
// context (a success leaves the context's error as it was). Null on failure, with `buffer` left empty.
PF_EffectWorld* checkoutWorld(AePlugin& effect, command_context& context, A_long checkoutId, pixel_buffer& buffer);

// Command 23 before smartPreRender: the input checkout and the result rectangles.
void smartPreRenderGlue(AePlugin& effect, command_context& context);
// Command 24 before smartRender: fills the frame block; false when the input or output cannot be had.
bool smartRenderGlue(AePlugin& effect, command_context& context);

// Pre-render checkout of a layer parameter, with the disk id as the checkout id.
void checkoutLayerParam(command_context& context, int id);
// The number of motion-blur samples and the shutter as a fraction of the frame.
void motionBlurSettings(command_context& context, uint32_t& samples, float& shutter);
