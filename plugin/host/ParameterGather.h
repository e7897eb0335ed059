// Turns the effect's parameters at the current time into what the renderer draws, loading the map
// layers as textures and reusing the cached ones that did not change.
#pragma once

#include <vector>

#include "LayerPlacement.h"
#include "command_context.h"
#include "layer_texture_cache.h"
#include "SuiteHandler.h"
#include "render_records.h"

struct gathered_parameters {
    int32_t objectType = 0;
    vec4 position;
    qssdk::quaternion rotation{0, 0, 0, 0};
    float scale = 0;
    float outputGamma = 0;
    material_properties material;
    std::vector<light_properties> lights;
};

class SceneRenderer;
struct map_layer;

// The map layers' pixels of one frame. The host hands each checkout id's pixels out once, and the
// pre-render checked each layer out at the frame's time, so every motion-blur sample shares them.
class frame_layer_pixels {
public:
    // `extents`: where the pre-render's checkouts said the pixels lie; null takes every world whole.
    explicit frame_layer_pixels(const frame_layer_extents* extents) : extents_(extents) {}

    // The whole layer's pixels, checked out on the first call of the frame (a failure goes to the
    // context); a world the host trimmed is placed in a buffer of the layer's size.
    const pixel_buffer& of(const render_data& frame, command_context& context, const map_layer& layer);

private:
    const frame_layer_extents* extents_;
    bool checkedOut_[layerCacheEntries] = {};
    pixel_buffer pixels_[layerCacheEntries] = {};  // by the layer's cache slot
    std::vector<uint8_t> placed_[layerCacheEntries];  // the whole layers made of trimmed worlds
};

// Fills `result` for the current time; the map layers are loaded through `renderer`'s thread.
void gatherParameters(const render_data& frame, SceneRenderer& renderer, gathered_parameters& result,
                      command_context& context, layer_texture_cache& cache, frame_layer_pixels& layers);

// The texture made from the layer's pixels as `mode` (a layer_texture_mode), or 0 without pixels;
// the cached texture while the layer, its size and the mode stay the same.
uint32_t loadLayer(SceneRenderer& renderer, command_context& context, SuiteHandler& suites, int layerId,
                   const pixel_buffer& pixels, layer_cache_entry& entry, uint32_t mode, const A_Time& compTime);
