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
    uint32_t width = 0, height = 0;  // the whole layer; 0: not known, and the world is taken whole
};

// The map layers' extents of one frame, by cache slot: the effect's pre-render data.
struct frame_layer_extents {
    layer_extent of[layerCacheEntries];
};

// The extent a pre-render checkout result gives.
layer_extent extentOf(const PF_CheckoutResult& result);

// `part` as the whole layer: itself when it is the whole layer already (or the extent is not known),
// else a buffer of the layer's size in `storage`, transparent (all bytes zero, at every depth) but where
// the extent puts `part`. What of `part` lies outside the layer is left out.
pixel_buffer placedInLayer(const pixel_buffer& part, const layer_extent& extent, std::vector<uint8_t>& storage);
