// The renderer's uniform buffers as GPU memory (std140), built from the records, and the material
// values the surface program receives transformed.
#pragma once

#include <cstdint>
#include <vector>

#include "render_records.h"

struct TransformMatricesBlock {
    float viewMatrix[16];
    float projMatrix[16];
    float viewSize[2];
    float padding[2];
};
static_assert(sizeof(TransformMatricesBlock) == 144);

struct LightSlot {
    vec4 position;
    vec4 direction;
    vec4 color;
    int32_t lightType;
    int32_t falloffType;
    float falloff;
    float spotConeCos;  // cosine of half the cone angle
    float spotFeather;
    float padding[3];
};
static_assert(sizeof(LightSlot) == 80);

constexpr int maxPackedLights = 8;

struct LightsBlock {
    int32_t numLights;
    int32_t padding[3];
    vec4 ambientLights;
    LightSlot lights[maxPackedLights];
};
static_assert(sizeof(LightsBlock) == 672);

TransformMatricesBlock packTransformMatrices(const render_properties& properties);

// Ambient lights add up and take no slot; the walk stops at the eighth packed light.
LightsBlock packLights(const std::vector<light_properties>& lights);

float normalInvertGreenUniform(bool invertGreen);
// min(c, 1) x 2^(1.5 x max(c - 1, 0))
float shadowLightContrastUniform(float contrast);
// (1 - f)^2 x 64 + 1
float uvFeatheringUniform(float feathering);
vec2 uvRotationUniform(float radians);
