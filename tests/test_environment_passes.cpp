#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "Renderer.h"
#include "WatchedTest.h"

namespace {

constexpr int cube = 512;

// A float texture as a layer upload makes it: mipmapped, linear, clamped at the edges.
GLuint imageTexture(int width, int height, const std::function<std::array<float, 4>(int x, int y)>& texel) {
    std::vector<float> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto value = texel(x, y);
            pixels.insert(pixels.end(), value.begin(), value.end());
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

std::vector<float> readImage(GLenum target, GLenum image, GLuint texture, int level) {
    glBindTexture(target, texture);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(image, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(image, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<float> pixels(static_cast<size_t>(width) * height * 4);
    glGetTexImage(image, level, GL_RGBA, GL_FLOAT, pixels.data());
    glBindTexture(target, 0);
    return pixels;
}

std::vector<float> readFace(GLuint texture, int face, int level) {
    return readImage(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, texture, level);
}

const float* at(const std::vector<float>& pixels, int width, int x, int y) { return &pixels[(y * width + x) * 4]; }

// GL's own cube-map addressing (its major-axis table): the direction that
// reads face f at texture coordinates (s, t), t counting texel rows.
std::array<double, 3> cubeDirection(int face, double s, double t) {
    const double sc = 2 * s - 1, tc = 2 * t - 1;
    switch (face) {
        case 0: return {1, -tc, -sc};
        case 1: return {-1, -tc, sc};
        case 2: return {sc, 1, tc};
        case 3: return {sc, -1, -tc};
        case 4: return {sc, -tc, 1};
        default: return {-sc, -tc, -1};
    }
}

// Where a direction reads the equirectangular image: longitude across, latitude (+Y at t = 1) down the rows.
std::array<double, 2> equirectCoords(const std::array<double, 3>& d) {
    return {std::atan2(d[0], d[2]) / (2 * std::numbers::pi) + 0.5,
            std::atan2(d[1], std::hypot(d[0], d[2])) / 3.1415 + 0.5};
}

std::set<GLuint> liveNames(GLboolean (*isName)(GLuint)) {
    std::set<GLuint> names;
    for (GLuint name = 1; name < 256; ++name)
        if (isName(name)) names.insert(name);
    return names;
}
GLboolean isFramebuffer(GLuint name) { return glIsFramebuffer(name); }
GLboolean isTexture(GLuint name) { return glIsTexture(name); }

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

class EnvironmentPasses : public WatchedTest {
protected:
    void SetUp() override {
        renderer = std::make_unique<Renderer>();
        beginFrame(1.0f, 1.0f);
    }
    void TearDown() override { renderer.reset(); }

    void beginFrame(float downsampleX, float downsampleY) {
        render_data frame;
        frame.output = {4 * 16, 4, 4, 4, nullptr};
        frame.bytes_per_channel = 4;
        frame.downsample_x = downsampleX;
        frame.downsample_y = downsampleY;
        renderer->beginFrame(0, frame);
    }

    // Counts the texels of every face of the level that differ from `expected` (which may decline to
    // judge a texel by returning false), and names the first.
    static void expectFaces(GLuint map, int level, float tolerance,
                            const std::function<bool(int face, int x, int y, float (&rgba)[4])>& expected) {
        const int size = cube >> level;
        for (int face = 0; face < 6; ++face) {
            const auto pixels = readFace(map, face, level);
            int wrong = 0;
            std::string first;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    float want[4];
                    if (!expected(face, x, y, want)) continue;
                    const float* got = at(pixels, size, x, y);
                    for (int c = 0; c < 4; ++c)
                        if (!(std::fabs(got[c] - want[c]) <= tolerance)) {
                            if (wrong++ == 0)
                                first = "texel " + std::to_string(x) + "," + std::to_string(y) + " channel " +
                                        std::to_string(c) + ": " + std::to_string(got[c]) + " instead of " +
                                        std::to_string(want[c]);
                            break;
                        }
                }
            EXPECT_EQ(wrong, 0) << "face " << face << " level " << level << ", first " << first;
        }
    }

    std::unique_ptr<Renderer> renderer;
};

TEST_F(EnvironmentPasses, NoImageGivesNoMapAndTouchesNothing) {
    glEnable(GL_CULL_FACE);
    const auto textures = liveNames(isTexture), framebuffers = liveNames(isFramebuffer);
    EXPECT_EQ(renderer->buildEnvironmentMap(0), 0u);
    EXPECT_EQ(liveNames(isTexture), textures);
    EXPECT_EQ(liveNames(isFramebuffer), framebuffers);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE)) << "the pass did not start";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EnvironmentPasses, AConstantImageGivesItsColourOnEveryFaceAndLevel) {
    const float colour[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    const GLuint image =
        imageTexture(64, 32, [&](int, int) { return std::array{colour[0], colour[1], colour[2], colour[3]}; });
    const GLuint map = renderer->buildEnvironmentMap(image);
    ASSERT_NE(map, 0u);
    // Each level is the mean of the one before it, stored again in half floats: every level may add a
    // rounding step (2^-11 below 1).
    for (int level = 0; level <= 6; ++level)
        expectFaces(map, level, (level + 1) * 0x1p-11f, [&](int, int, int, float (&rgba)[4]) {
            for (int c = 0; c < 4; ++c) rgba[c] = colour[c];
            return true;
        });

    // A 512 cube with its whole chain allocated, levels 0..6 in use.
    glBindTexture(GL_TEXTURE_CUBE_MAP, map);
    for (int level = 0; level <= 9; ++level) {
        GLint width = 0, height = 0, format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, level, GL_TEXTURE_HEIGHT, &height);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, level, GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_EQ(width, cube >> level) << level;
        EXPECT_EQ(height, cube >> level) << level;
        EXPECT_EQ(format, GL_RGBA16F) << level;
    }
    GLint base = -1, max = -1, minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BASE_LEVEL, &base);
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, &max);
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, &magFilter);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    EXPECT_EQ(base, 0);
    EXPECT_EQ(max, 6);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &map);
    glDeleteTextures(1, &image);
}

TEST_F(EnvironmentPasses, EachFaceTexelReadsTheImageAlongItsOwnDirection) {
    // Red holds the image's horizontal texture coordinate, green the vertical one.
    const int width = 64, height = 32;
    const GLuint image = imageTexture(width, height, [&](int x, int y) {
        return std::array{(x + 0.5f) / width, (y + 0.5f) / height, 0.5f, 1.0f};
    });
    const GLuint map = renderer->buildEnvironmentMap(image);
    ASSERT_NE(map, 0u);

    // The face centres: +X looks at longitude 3/4 of the image, -X at 1/4, +Z at the middle; +Y (up
    // in GL's frame) at the last row of the image, -Y at the first.
    const struct {
        int face;
        float s, t;
    } centres[] = {
        {0, 0.75f, 0.5f}, {1, 0.25f, 0.5f}, {4, 0.5f, 0.5f}, {2, -1, 1 - 0.5f / height}, {3, -1, 0.5f / height}};
    for (const auto& c : centres) {
        const auto pixels = readFace(map, c.face, 0);
        const float* centre = at(pixels, cube, cube / 2, cube / 2);
        if (c.s >= 0) {
            EXPECT_NEAR(centre[0], c.s, 0.01) << "face " << c.face;
        }
        EXPECT_NEAR(centre[1], c.t, 0.01) << "face " << c.face;
    }

    // Every texel away from the seam and the poles, against GL's own orientation of the faces.
    expectFaces(map, 0, 2e-3f, [&](int face, int x, int y, float (&rgba)[4]) {
        const auto st = equirectCoords(cubeDirection(face, (x + 0.5) / cube, (y + 0.5) / cube));
        if (st[0] < 3.0 / width || st[0] > 1 - 3.0 / width || st[1] < 3.0 / height || st[1] > 1 - 3.0 / height)
            return false;
        rgba[0] = static_cast<float>(st[0]);
        rgba[1] = static_cast<float>(st[1]);
        rgba[2] = 0.5f;
        rgba[3] = 1.0f;
        return true;
    });
    glDeleteTextures(1, &map);
    glDeleteTextures(1, &image);
}

TEST_F(EnvironmentPasses, TheSeamAndThePolesReadTheFullSizeImage) {
    // Level 0 white, every smaller level black: a face texel that picked a small mip level shows dark.
    const int width = 256, height = 128;
    const GLuint image = imageTexture(width, height, [](int, int) { return std::array{1.0f, 1.0f, 1.0f, 1.0f}; });
    glBindTexture(GL_TEXTURE_2D, image);
    for (int level = 1; (width >> level) > 0; ++level) {
        const int w = width >> level, h = std::max(height >> level, 1);
        const std::vector<float> black(static_cast<size_t>(w) * h * 4, 0.0f);
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA32F, w, h, 0, GL_RGBA, GL_FLOAT, black.data());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLuint map = renderer->buildEnvironmentMap(image);
    expectFaces(map, 0, 1e-3f, [](int, int, int, float (&rgba)[4]) {
        for (float& c : rgba) c = 1.0f;
        return true;
    });
    glDeleteTextures(1, &map);
    glDeleteTextures(1, &image);
}

TEST_F(EnvironmentPasses, PrefilteredLevelsKeepTheirDirectionsAndBlurMoreWithRoughness) {
    // Bright where the direction points up (+Y, the image's lower half), dark below.
    const int width = 64, height = 32;
    const GLuint image = imageTexture(width, height, [&](int, int y) {
        const float v = y >= height / 2 ? 1.0f : 0.0f;
        return std::array{v, v, v, 1.0f};
    });
    const GLuint map = renderer->buildEnvironmentMap(image);

    // Level 1 is nearly a mirror: 40 degrees above or below the horizon on the +X face is plain white or black.
    const auto level1 = readFace(map, 0, 1);
    EXPECT_NEAR(at(level1, 256, 128, 20)[0], 1.0f, 0.01f);
    EXPECT_NEAR(at(level1, 256, 128, 235)[0], 0.0f, 0.01f);
    // Level 6, blurred over a whole hemisphere on top of the levels before it: straight up stays mostly
    // white, straight down mostly black, and as the image is white above exactly where it is black below,
    // the two add up to white; the horizon is in between.
    const float up = at(readFace(map, 2, 6), 8, 4, 4)[0];
    const float down = at(readFace(map, 3, 6), 8, 4, 4)[0];
    const float side = at(readFace(map, 0, 6), 8, 4, 4)[0];
    EXPECT_GT(up, 0.6f);
    EXPECT_LT(down, 0.4f);
    EXPECT_NEAR(up + down, 1.0f, 0.01f);
    EXPECT_GT(side, 0.3f);
    EXPECT_LT(side, 0.7f);
    // The horizon softens level by level: 27 degrees above it on the +X face (the four texels around
    // face coordinates (1/2, 1/4)) grows darker with every level.
    float previous = 1;
    for (int level = 1; level <= 6; ++level) {
        const int size = cube >> level;
        const auto face = readFace(map, 0, level);
        float value = 0;
        for (int y : {size / 4 - 1, size / 4})
            for (int x : {size / 2 - 1, size / 2}) value += at(face, size, x, y)[0] / 4;
        EXPECT_LE(value, previous + 1e-3f) << "level " << level;
        previous = value;
    }
    EXPECT_LT(previous, 0.95f) << "the roughest level reaches below the horizon";
    glDeleteTextures(1, &map);
    glDeleteTextures(1, &image);
}

TEST_F(EnvironmentPasses, AConstantHeightGivesTheFlatNormalOnEveryLevel) {
    const int n = 16;
    const GLuint height = imageTexture(n, n, [](int, int) { return std::array{0.3f, 0.3f, 0.3f, 1.0f}; });
    const GLuint normals = renderer->buildNormalMap(height, n, n);
    ASSERT_NE(normals, 0u);
    for (int level = 0; (n >> level) > 0; ++level) {
        const auto pixels = readImage(GL_TEXTURE_2D, GL_TEXTURE_2D, normals, level);
        ASSERT_EQ(pixels.size(), static_cast<size_t>((n >> level) * (n >> level) * 4)) << "level " << level;
        for (size_t k = 0; k < pixels.size(); k += 4) {
            EXPECT_NEAR(pixels[k], 0.5f, 1e-3) << level << " " << k / 4;
            EXPECT_NEAR(pixels[k + 1], 0.5f, 1e-3) << level << " " << k / 4;
            EXPECT_NEAR(pixels[k + 2], 1.0f, 1e-3) << level << " " << k / 4;
            EXPECT_NEAR(pixels[k + 3], 1.0f, 1e-3) << level << " " << k / 4;
        }
    }
    glBindTexture(GL_TEXTURE_2D, normals);
    GLint format = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    GLfloat anisotropy = 0, maxAnisotropy = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(format, GL_RGBA16F);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_GT(maxAnisotropy, 1.0f);
    EXPECT_EQ(anisotropy, maxAnisotropy);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &normals);
    glDeleteTextures(1, &height);
}

TEST_F(EnvironmentPasses, ARampTiltsTheNormalByItsSlopeOverTheFramesDownsampling) {
    const int n = 16;
    // The height rises by 1/16 a pixel: the Sobel differences (weights 1, 2, 1 over two pixels) are 0.5,
    // against 0.5 for z, and are scaled by 1 / the downsample factor of the axis the height rises along.
    const struct {
        float downsampleX, downsampleY;
        bool alongRows;  // rising down the image's rows (top to bottom) rather than along its columns
    } cases[] = {{1.0f, 1.0f, false}, {0.5f, 0.5f, false}, {2.0f, 2.0f, false}, {0.5f, 0.5f, true},
                 {2.0f, 1.0f, false}, {2.0f, 1.0f, true}, {1.0f, 2.0f, false}, {1.0f, 2.0f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "downsample " << c.downsampleX << "," << c.downsampleY
                                        << (c.alongRows ? " rows" : " columns"));
        beginFrame(c.downsampleX, c.downsampleY);
        const GLuint height = imageTexture(n, n, [&](int x, int y) {
            const float h = (c.alongRows ? y : x) / 16.0f;
            return std::array{h, h, h, 1.0f};
        });
        const GLuint normals = renderer->buildNormalMap(height, n, n);
        const double slope = -0.5 / (c.alongRows ? c.downsampleY : c.downsampleX), length = std::hypot(slope, 0.5);
        const double tilt = (slope / length + 1) / 2, rise = (0.5 / length + 1) / 2;
        const float expected[4] = {static_cast<float>(c.alongRows ? 0.5 : tilt),
                                   static_cast<float>(c.alongRows ? tilt : 0.5), static_cast<float>(rise), 1.0f};
        const auto pixels = readImage(GL_TEXTURE_2D, GL_TEXTURE_2D, normals, 0);
        for (int y = 1; y < n - 1; ++y)
            for (int x = 1; x < n - 1; ++x)
                for (int k = 0; k < 4; ++k)
                    ASSERT_NEAR(at(pixels, n, x, y)[k], expected[k], 1e-3) << x << "," << y << " channel " << k;
        glDeleteTextures(1, &normals);
        glDeleteTextures(1, &height);
    }
}

TEST_F(EnvironmentPasses, BothPassesLeaveTheDefaultBindingsAndDeleteTheirFramebuffers) {
    const GLuint image = imageTexture(16, 8, [](int x, int y) { return std::array{x / 16.0f, y / 8.0f, 0.0f, 1.0f}; });
    const std::function<GLuint()> passes[] = {
        [&] { return renderer->buildEnvironmentMap(image); },
        [&] { return renderer->buildNormalMap(image, 16, 8); },
    };
    for (const auto& pass : passes) {
        glEnable(GL_MULTISAMPLE);
        glEnable(GL_CULL_FACE);
        const auto framebuffers = liveNames(isFramebuffer);
        const GLuint made = pass();
        EXPECT_NE(made, 0u);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
        EXPECT_EQ(liveNames(isFramebuffer), framebuffers) << "the pass's framebuffer is deleted";
        EXPECT_FALSE(glIsEnabled(GL_MULTISAMPLE));
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        glDeleteTextures(1, &made);
    }
    glDeleteTextures(1, &image);
}

}  // namespace
