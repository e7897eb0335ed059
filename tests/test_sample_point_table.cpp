#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "EnvironmentPasses.h"
#include "SamplePointTable.h"
#include "WatchedTest.h"

namespace {

const float* texel(const std::vector<float>& table, int row, int i) {
    return &table[(static_cast<size_t>(row) * sample_points::columns + i) * 4];
}

TEST(SamplePointTable, ReversesTheBitsOfA32BitIndex) {
    const struct {
        uint32_t in, out;
    } cases[] = {{0, 0}, {1, 0x80000000u}, {2, 0x40000000u}, {3, 0xC0000000u}, {256, 0x00800000u},
                 {0x12345678u, 0x1E6A2C48u}, {0xFFFFFFFFu, 0xFFFFFFFFu}};
    for (const auto& c : cases) EXPECT_EQ(sample_points::reverseBits(c.in), c.out) << std::hex << c.in;
}

TEST(SamplePointTable, TexelsFollowTheHammersleyLobeOfTheirLevel) {
    const std::vector<float> table = sample_points::makeTable();
    ASSERT_EQ(table.size(), 512u * 24u * 4u);

    // u = 0 gives cos t = 1: the first sample of every level is the normal itself.
    for (int row = 0; row < 6; ++row) {
        const float* p = texel(table, row, 0);
        EXPECT_EQ(p[0], 0.0f);
        EXPECT_EQ(p[1], 0.0f);
        EXPECT_EQ(p[2], 1.0f);
        EXPECT_EQ(p[3], 0.0f);
    }

    // Samples worked out by hand: index 1 reverses to u = 1/2, 2 to 1/4, 3 to 3/4, 256 (bit 8) to 2^-9,
    // 511 (nine ones) to 1 - 2^-9.
    const struct {
        int row, i;
        double u;
    } cases[] = {{0, 1, 0.5}, {5, 1, 0.5}, {2, 3, 0.75}, {3, 2, 0.25}, {1, 256, 1.0 / 512}, {4, 511, 1 - 1.0 / 512}};
    for (const auto& c : cases) {
        const double a = std::pow((c.row + 1) / 6.0, 2.8);
        const double cos2 = (1 - c.u) / (1 + (a * a - 1) * c.u);
        const double sinT = std::sqrt(1 - cos2), phi = 2 * std::numbers::pi * c.i / 512;
        const double expected[4] = {std::cos(phi) * sinT, std::sin(phi) * sinT, std::sqrt(cos2), 0};
        const float* p = texel(table, c.row, c.i);
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(p[k], expected[k], 1e-6) << "row " << c.row << " texel " << c.i << " " << k;
    }
    // The roughest level (a = 1) spreads cos^2 t evenly: u = 1/2 gives 45 degrees.
    EXPECT_NEAR(texel(table, 5, 1)[2], std::sqrt(0.5), 1e-6);
}

TEST(SamplePointTable, EveryLevelHoldsUnitHalfVectorsInAWideningLobeAndTheRestIsZero) {
    const std::vector<float> table = sample_points::makeTable();
    double previousMeanZ = 1.01;
    for (int row = 0; row < 6; ++row) {
        double sumZ = 0;
        for (int i = 0; i < 512; ++i) {
            const float* p = texel(table, row, i);
            EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0, 1e-5) << row << " " << i;
            EXPECT_GE(p[2], 0.0f) << "on the normal's side: " << row << " " << i;
            EXPECT_EQ(p[3], 0.0f);
            sumZ += p[2];
        }
        EXPECT_LT(sumZ / 512, previousMeanZ) << "level " << row + 1 << " is rougher than the one before";
        previousMeanZ = sumZ / 512;
    }
    for (size_t k = 6 * 512 * 4; k < table.size(); ++k) ASSERT_EQ(table[k], 0.0f) << k;
}

using SamplePointTexture = GlTest;

TEST_F(SamplePointTexture, HoldsTheTableAsHalfFloatsReadTexelByTexel) {
    const GLuint texture = environment_passes::createSamplePointTexture();
    ASSERT_TRUE(glIsTexture(texture));
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0, height = 0, format = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(height, 24);
    EXPECT_EQ(format, GL_RGBA16F);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(magFilter, GL_NEAREST);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(wrapT, GL_CLAMP_TO_EDGE);

    std::vector<float> stored(512 * 24 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, stored.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const std::vector<float> table = sample_points::makeTable();
    for (size_t k = 0; k < table.size(); ++k) ASSERT_NEAR(stored[k], table[k], 1e-3) << k;
    glDeleteTextures(1, &texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
