// An effect instance's sequence data while its project is open: the GL textures already made from its
// five map layers, so an unchanged layer is not uploaded again for every frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ae_suites.h"

// What a cached texture was made as.
enum layer_texture_mode : uint32_t {
    layerTexturePlain = 0,
    layerTextureHeightToNormal = 1,   // a height map made a normal map
    layerTextureEnvironmentCube = 2,  // an equirectangular layer made a cube map
};

struct layer_cache_entry {
    uint32_t texture = 0;  // GL texture name; 0 = none
    uint32_t width = 0;    // of the layer image the texture was made from
    uint32_t height = 0;
    PF_State state;     // the layer parameter's state token when the texture was made
    uint32_t mode = 0;  // a layer_texture_mode
};

constexpr int layerCacheEntries = 5;

struct layer_texture_cache {
    uint32_t reserved;
    // One slot per map layer (MapLayers.h).
    layer_cache_entry entries[layerCacheEntries];
};

static_assert(sizeof(layer_cache_entry) == 32);
static_assert(sizeof(layer_texture_cache) == 164);
static_assert(offsetof(layer_texture_cache, entries) == 4 && offsetof(layer_cache_entry, mode) == 28);
