// The five map layer parameters: for each its disk id, its display name, its slot in the sequence data's
// texture cache and the texture it becomes. A message about a layer names it as the parameter list does.
#pragma once

#include "ParamIds.h"
#include "layer_texture_cache.h"

struct map_layer {
    param::id id;
    const char* name;
    int cacheSlot;
    layer_texture_mode mode;  // the bump layer's when it holds heights; a normal map stays plain
};

// In the order the pre-render checks them out.
constexpr map_layer mapLayers[] = {
    {param::diffuseLayer, "Diffuse Layer", 0, layerTexturePlain},
    {param::glossinessLayer, "Glossiness Layer", 1, layerTexturePlain},
    {param::illuminationLayer, "Illumination Layer", 2, layerTexturePlain},
    {param::environmentLayer, "Environment Layer", 4, layerTextureEnvironmentCube},
    {param::bumpLayer, "Bump Map Layer", 3, layerTextureHeightToNormal},
};

constexpr const map_layer& mapLayer(param::id id) {
    for (const map_layer& layer : mapLayers)
        if (layer.id == id) return layer;
    throw "not a map layer";  // only reached in a constant expression, where it stops the build
}

// The layer's display name; "a map layer" for an id that is none.
constexpr const char* layerParamName(int id) {
    for (const map_layer& layer : mapLayers)
        if (layer.id == id) return layer.name;
    return "a map layer";
}
