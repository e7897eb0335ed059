// Turns the effect's parameters at the current time into what the renderer draws, loading the map
// layers as textures and reusing the cached ones that did not change.
#pragma once

#include <vector>

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

// Fills `result` for the current time; the map layers are loaded through `renderer`'s thread.
void gatherParameters(const render_data& frame, SceneRenderer& renderer, gathered_parameters& result,
                      command_context& context, layer_texture_cache& cache);

// The layer's texture made as `mode` (a layer_texture_mode), or 0 without pixels;
// the cached texture while the layer, its size and the mode stay the same.
uint32_t loadLayer(const render_data& frame, SceneRenderer& renderer, command_context& context,
                   SuiteHandler& suites, int layerId, layer_cache_entry& entry, uint32_t mode,
                   const A_Time& compTime);
