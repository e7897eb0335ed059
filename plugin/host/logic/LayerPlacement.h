// Where a map layer's checked-out pixels lie in the layer. The host hands text, shape and other sparse
// layers over trimmed to the rectangle that has content; the pre-render's checkout says which rectangle
// and how large the whole layer is. The renderer wants the whole layer: a trimmed world goes into a
// buffer of the layer's full size, transparent elsewhere.
#pragma once

#include <cstdint>
#include <vector>

#include "ae_smartfx.h"
#include "layer_texture_cache.h"
#include "render_records.h"

struct layer_extent {
    PF_LRect where{};                // the checkout's result rectangle: the world's place in the layer
    uint32_t width = 0, height = 0;  // the whole layer in the render's pixels; 0: not known, the world is taken whole
    // The smallest world that still counts as the whole layer: where a factor does not divide the size, a
    // world one pixel short of `width` or `height` covers the layer too.
    uint32_t wholeWidth = 0, wholeHeight = 0;
};

// The map layers' extents of one frame, by cache slot: the effect's pre-render data.
struct frame_layer_extents {
    layer_extent of[layerCacheEntries];
};

// A length of the layer at full resolution in the pixels of a render at `downsample` (the host's ratio,
// 1/2 at half resolution), rounded up as the host sizes a downsampled layer (1921 at 1/2 is 961).
uint32_t downsampledLength(A_long full, const PF_RationalScale& downsample);

// The extent a pre-render checkout result gives. The checkout's reference size is the layer's size at full
// resolution whatever the render's downsampling, so it is scaled by each axis's own factor.
layer_extent extentOf(const PF_CheckoutResult& result, const PF_RationalScale& downsampleX,
                      const PF_RationalScale& downsampleY);

// `part` as the whole layer: itself when it is the whole layer already (or the extent is not known),
// else a buffer of the layer's size in `storage`, transparent (all bytes zero, at every depth) but where
// the extent puts `part`. What of `part` lies outside the layer is left out. A layer the host hands over
// without pixels because nothing of it has content (an empty result rectangle) is that transparent buffer
// too, at `bytesPerChannel`, as the same layer handed over whole would be.
pixel_buffer placedInLayer(const pixel_buffer& part, const layer_extent& extent, uint32_t bytesPerChannel,
                           std::vector<uint8_t>& storage);
