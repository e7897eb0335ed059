#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "UniformBlocks.h"

namespace {

light_properties light(int type, vec4 color, float cone_angle = 0, float feather = 0) {
    light_properties l{};
    l.lightType = type;
    l.color = color;
    l.position = {1, 2, 3, 0};
    l.direction = {0, 0, 1, 0};
    l.coneAngle = cone_angle;
    l.coneFeather = feather;
    l.falloffType = 2;
    l.falloff = 0.5f;
    return l;
}

bool isZero(const void* p, size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (bytes[i]) return false;
    return true;
}

TEST(LightsBlock, EmptyVectorPacksNothing) {
    const LightsBlock block = packLights({});
    EXPECT_EQ(block.numLights, 0);
    EXPECT_TRUE(isZero(&block, sizeof block));
}

TEST(LightsBlock, AmbientLightsSumAndTakeNoSlot) {
    const LightsBlock block =
        packLights({light(3, {0.1f, 0.2f, 0.3f, 0.4f}), light(2, {1, 1, 1, 1}), light(3, {0.1f, 0.1f, 0.1f, 0.1f})});
    EXPECT_EQ(block.numLights, 1);
    EXPECT_FLOAT_EQ(block.ambientLights.x, 0.2f);
    EXPECT_FLOAT_EQ(block.ambientLights.w, 0.5f);
    EXPECT_EQ(block.lights[0].lightType, 2);
    EXPECT_EQ(block.lights[0].falloffType, 2);
    EXPECT_FLOAT_EQ(block.lights[0].falloff, 0.5f);
    EXPECT_FLOAT_EQ(block.lights[0].position.z, 3.0f);
    EXPECT_FLOAT_EQ(block.lights[0].spotConeCos, 0.0f) << "only spot lights get cone values";
    EXPECT_TRUE(isZero(&block.lights[1], 48)) << "unused slots stay zero";
}

TEST(LightsBlock, StopsAtTheEighthPackedLight) {
    std::vector<light_properties> lights(9, light(2, {1, 1, 1, 1}));
    lights.push_back(light(3, {0.5f, 0.5f, 0.5f, 0.5f}));
    const LightsBlock block = packLights(lights);
    EXPECT_EQ(block.numLights, 8);
    EXPECT_FLOAT_EQ(block.ambientLights.x, 0.0f) << "the ambient light after the eighth is not added";
}

TEST(LightsBlock, SpotConeUsesHalfTheAngle) {
    const LightsBlock block = packLights({light(1, {1, 1, 1, 1}, 90.0f, 0.25f)});
    EXPECT_NEAR(block.lights[0].spotConeCos, 0.70710678f, 1e-6f);
    EXPECT_FLOAT_EQ(block.lights[0].spotFeather, 0.25f);
}

TEST(LightsBlock, LayoutMatchesTheGpuBlock) {
    EXPECT_EQ(offsetof(LightsBlock, ambientLights), 16u);
    EXPECT_EQ(offsetof(LightsBlock, lights), 32u);
    EXPECT_EQ(offsetof(LightSlot, lightType), 48u);
    EXPECT_EQ(offsetof(LightSlot, spotConeCos), 60u);
    EXPECT_EQ(offsetof(LightSlot, spotFeather), 64u);
}

TEST(TransformMatricesBlock, CopiesTheMatricesAndViewSize) {
    render_properties properties{};
    for (int i = 0; i < 16; ++i) {
        properties.viewMatrix[i] = static_cast<float>(i);
        properties.projMatrix[i] = static_cast<float>(100 + i);
    }
    properties.viewSize = {1920, 1080};
    const TransformMatricesBlock block = packTransformMatrices(properties);
    unsigned char bytes[144];
    std::memcpy(bytes, &block, sizeof bytes);
    float f;
    std::memcpy(&f, bytes + 4 * 5, 4);
    EXPECT_EQ(f, 5.0f);
    std::memcpy(&f, bytes + 64 + 4 * 15, 4);
    EXPECT_EQ(f, 115.0f);
    std::memcpy(&f, bytes + 132, 4);
    EXPECT_EQ(f, 1080.0f);
}

TEST(MaterialUniforms, TransformedValues) {
    const struct {
        float contrast, expected;
    } contrasts[] = {{0.5f, 0.5f}, {1.0f, 1.0f}, {3.0f, 8.0f}, {0.01f, 0.01f}};
    for (const auto& c : contrasts) EXPECT_FLOAT_EQ(shadowLightContrastUniform(c.contrast), c.expected);
    EXPECT_FLOAT_EQ(uvFeatheringUniform(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(uvFeatheringUniform(0.0f), 65.0f);
    EXPECT_FLOAT_EQ(uvFeatheringUniform(0.2f), 0.64f * 64.0f + 1.0f);
    EXPECT_FLOAT_EQ(normalInvertGreenUniform(true), -1.0f);
    EXPECT_FLOAT_EQ(normalInvertGreenUniform(false), 1.0f);
    const vec2 rotation = uvRotationUniform(3.14159265f / 2);
    EXPECT_NEAR(rotation.x, 0.0f, 1e-6f);
    EXPECT_NEAR(rotation.y, 1.0f, 1e-6f);
}

}  // namespace
