#include "UniformBlocks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TransformMatricesBlock packTransformMatrices(const render_properties& properties) {
    TransformMatricesBlock block{};
    std::memcpy(block.viewMatrix, properties.viewMatrix.m, sizeof block.viewMatrix);
    std::memcpy(block.projMatrix, properties.projMatrix.m, sizeof block.projMatrix);
    block.viewSize[0] = properties.viewSize.x;
    block.viewSize[1] = properties.viewSize.y;
    return block;
}

LightsBlock packLights(const std::vector<light_properties>& lights) {
    LightsBlock block{};
    for (const light_properties& light : lights) {
        if (block.numLights == maxPackedLights) break;
        if (light.lightType == lightAmbient) {
            block.ambientLights.x += light.color.x;
            block.ambientLights.y += light.color.y;
            block.ambientLights.z += light.color.z;
            block.ambientLights.w += light.color.w;
            continue;
        }
        LightSlot& slot = block.lights[block.numLights++];
        slot.position = light.position;
        slot.direction = light.direction;
        slot.color = light.color;
        slot.lightType = light.lightType;
        slot.falloffType = light.falloffType;
        slot.falloff = light.falloff;
        if (light.lightType == lightSpot) {
            slot.spotConeCos = std::cos(light.coneAngle * 0.008726646f);
            slot.spotFeather = light.coneFeather;
        }
    }
    return block;
}

float normalInvertGreenUniform(bool invertGreen) { return invertGreen ? -1.0f : 1.0f; }

float shadowLightContrastUniform(float contrast) {
    return std::min(contrast, 1.0f) * std::exp2(1.5f * std::max(contrast - 1.0f, 0.0f));
}

float uvFeatheringUniform(float feathering) { return (1.0f - feathering) * (1.0f - feathering) * 64.0f + 1.0f; }

vec2 uvRotationUniform(float radians) { return vec2{std::cos(radians), std::sin(radians)}; }
