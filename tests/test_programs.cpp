#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramRegistry.h"
#include "ShaderSources.h"
#include "WatchedTest.h"
#include "shader_compile_exception.h"

namespace {

std::string_view text(std::span<const unsigned char> file) {
    return {reinterpret_cast<const char*>(file.data()), file.size()};
}

class Programs : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        static constexpr float quad[] = {0, 0, 1, 0, 0, 1, 1, 1};
        glGenVertexArrays(1, &quadArray);
        glBindVertexArray(quadArray);
        glGenBuffers(1, &quadBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 8, nullptr);
        glEnableVertexAttribArray(0);
        glBindVertexArray(0);
    }
    void TearDown() override {
        glDeleteBuffers(1, &quadBuffer);
        glDeleteVertexArrays(1, &quadArray);
        registry.reset();
        GlTest::TearDown();
    }

    uint32_t quadProgram(std::span<const unsigned char> fragment) {
        return registry->compileProgram(text(shader_sources::quad_vert), text(fragment));
    }

    static GLuint floatTexture(GLenum target, int width, int height, const std::vector<float>& rgba) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(target, texture);
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(target, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, rgba.data());
        return texture;
    }

    // Draws the quad with the program into a float target of the given size and reads it back.
    std::vector<float> draw(uint32_t program, int width, int height, const std::function<void()>& uniforms) {
        GLuint target = floatTexture(GL_TEXTURE_2D, width, height, std::vector<float>(width * height * 4));
        GLuint framebuffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, width, height);
        glUseProgram(program);
        uniforms();
        glBindVertexArray(quadArray);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        std::vector<float> pixels(width * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
        glBindVertexArray(0);
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &target);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return pixels;
    }

    static void expectPixel(const std::vector<float>& pixels, int width, int x, int y, const float (&rgba)[4],
                            float tolerance = 1e-4f) {
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(pixels[(y * width + x) * 4 + c], rgba[c], tolerance) << "pixel " << x << "," << y << " channel " << c;
    }

    std::unique_ptr<ProgramRegistry> registry = std::make_unique<ProgramRegistry>();
    GLuint quadArray = 0, quadBuffer = 0;
};

TEST_F(Programs, EveryQuadProgramCompilesLinksAndHasItsUniforms) {
    const struct {
        const char* name;
        std::span<const unsigned char> fragment;
        std::vector<const char*> uniforms;
    } programs[] = {
        {"copy", shader_sources::copy_frag, {"textureSampler"}},
        {"height to normal", shader_sources::height_to_normal_frag, {"textureSampler", "pixelSize", "scaleFactor"}},
        {"equirectangular", shader_sources::equirect_frag, {"textureSampler", "initialCoord", "coordIncX", "coordIncY"}},
        {"prefilter",
         shader_sources::prefilter_frag,
         {"textureSampler", "samplesSampler", "initialCoord", "coordIncX", "coordIncY", "sampleLod", "numSamples",
          "roughnessLayer"}},
    };
    for (const auto& p : programs) {
        const uint32_t program = quadProgram(p.fragment);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << p.name;
        EXPECT_EQ(glGetFragDataLocation(program, "outColor"), 0) << p.name;
        for (const char* uniform : p.uniforms) EXPECT_NE(glGetUniformLocation(program, uniform), -1) << p.name << " " << uniform;
    }
    EXPECT_EQ(registry->programs().size(), 4u);
    EXPECT_TRUE(watcher.seen().empty());

    const std::vector<uint32_t> made = registry->programs();
    registry.reset();
    for (uint32_t program : made) EXPECT_FALSE(glIsProgram(program)) << "released with the registry";
}

TEST_F(Programs, AnEmptySourceIsRefusedBeforeAnyObjectIsMade) {
    const std::string_view quad = text(shader_sources::quad_vert);
    const std::string_view copy = text(shader_sources::copy_frag);
    for (const auto& [vertex, fragment] : {std::pair{quad, std::string_view{}}, std::pair{std::string_view{}, copy}}) {
        try {
            registry->compileProgram(vertex, fragment);
            ADD_FAILURE() << "an empty source was compiled";
        } catch (const shader_compile_exception& error) {
            EXPECT_STREQ(error.what(), "invalid shader code");
        }
    }
    EXPECT_TRUE(registry->programs().empty());
}

TEST_F(Programs, ASyntaxErrorShowsOneShaderLogAndThrows) {
    const std::string broken = "#version 330\nout vec4 outColor;\nvoid main() { outColor = vec4(1.0) }\n";
    try {
        registry->compileProgram(text(shader_sources::quad_vert), broken);
        ADD_FAILURE() << "the broken source compiled";
    } catch (const shader_compile_exception& error) {
        EXPECT_STREQ(error.what(), "failed to compile shader source");
    }
    // The box is modal: compileProgram returned only once the watcher had noted and dismissed it.
    const auto windows = watcher.seen();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].title, "Shader Log");
    EXPECT_EQ(windows[0].className, "#32770");
    EXPECT_FALSE(windows[0].text.empty()) << "the box shows the compile log";
    // The failed fragment shader is deleted; only the vertex shader, attached to the program, remains.
    ASSERT_EQ(registry->programs().size(), 1u);
    GLuint attached[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(registry->programs()[0], 4, &count, attached);
    ASSERT_EQ(count, 1);
    for (GLuint name = 1; name < 64; ++name) EXPECT_EQ(glIsShader(name), name == attached[0]) << name;
}

TEST_F(Programs, ALinkFailureThrowsWithoutABox) {
    const std::string unresolved =
        "#version 330\nout vec4 outColor;\nvec4 shade();\nvoid main() { outColor = shade(); }\n";
    try {
        registry->compileProgram(text(shader_sources::quad_vert), unresolved);
        ADD_FAILURE() << "the program linked";
    } catch (const shader_compile_exception& error) {
        EXPECT_STREQ(error.what(), "failed to link shader program");
    }
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(Programs, CopyWritesTheTextureAsItIs) {
    const std::vector<float> source = {1, 0, 0, 1, 0, 1, 0, 0.5f, 0, 0, 1, 0.25f, 0.1f, 0.2f, 0.3f, 0};
    const GLuint texture = floatTexture(GL_TEXTURE_2D, 2, 2, source);
    const auto pixels = draw(quadProgram(shader_sources::copy_frag), 2, 2, [&] {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
    });
    for (size_t i = 0; i < source.size(); ++i) EXPECT_FLOAT_EQ(pixels[i], source[i]) << i;
    glDeleteTextures(1, &texture);
}

TEST_F(Programs, HeightToNormalFollowsTheSlope) {
    const uint32_t program = quadProgram(shader_sources::height_to_normal_frag);
    const int n = 8;
    // Height grows by 1/16 per column (along x) or per row (along t, down the image).
    auto run = [&](auto heightAt) {
        std::vector<float> heights;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const float h = heightAt(x, y);
                heights.insert(heights.end(), {h, h, h, 1});
            }
        const GLuint texture = floatTexture(GL_TEXTURE_2D, n, n, heights);
        auto pixels = draw(program, n, n, [&] {
            glBindTexture(GL_TEXTURE_2D, texture);
            glUniform2f(glGetUniformLocation(program, "pixelSize"), 1.0f / n, 1.0f / n);
            glUniform2f(glGetUniformLocation(program, "scaleFactor"), 1.0f, 1.0f);
        });
        glDeleteTextures(1, &texture);
        return pixels;
    };
    const float flat[4] = {0.5f, 0.5f, 1, 1};
    const auto constant = run([](int, int) { return 0.3f; });
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) expectPixel(constant, n, x, y, flat);

    // Neighbour differences of 1/8, weighted 1, 2, 1: a slope of 0.5 against 0.5, a normal at 45 degrees.
    const float tilt = (1 - std::sqrt(0.5f)) / 2, rise = (1 + std::sqrt(0.5f)) / 2;
    const float uphillX[4] = {tilt, 0.5f, rise, 1};
    const float uphillY[4] = {0.5f, tilt, rise, 1};
    expectPixel(run([](int x, int) { return x / 16.0f; }), n, 3, 4, uphillX);
    expectPixel(run([](int, int y) { return y / 16.0f; }), n, 3, 4, uphillY);
}

TEST_F(Programs, EquirectangularLooksUpTheFaceDirection) {
    const uint32_t program = quadProgram(shader_sources::equirect_frag);
    // 3 x 3 image: the middle row holds longitudes -X (s 0.25), +Z (s 0.5) and +X (s 0.75).
    std::vector<float> image(3 * 3 * 4, 0);
    const float minusX[4] = {1, 0, 0, 1}, plusZ[4] = {0, 1, 0, 1}, plusX[4] = {0, 0, 1, 1};
    for (int c = 0; c < 4; ++c) {
        image[(3 + 0) * 4 + c] = minusX[c];
        image[(3 + 1) * 4 + c] = plusZ[c];
        image[(3 + 2) * 4 + c] = plusX[c];
    }
    const GLuint texture = floatTexture(GL_TEXTURE_2D, 3, 3, image);
    const struct {
        float initial[3], incX[3], incY[3];
        const float (&color)[4];
    } faces[] = {
        {{0.5f, 0.5f, 0.5f}, {0, 0, -1}, {0, -1, 0}, plusX},
        {{-0.5f, 0.5f, -0.5f}, {0, 0, 1}, {0, -1, 0}, minusX},
        {{-0.5f, 0.5f, 0.5f}, {1, 0, 0}, {0, -1, 0}, plusZ},
    };
    for (const auto& face : faces) {
        const auto pixels = draw(program, 4, 4, [&] {
            glBindTexture(GL_TEXTURE_2D, texture);
            glUniform3fv(glGetUniformLocation(program, "initialCoord"), 1, face.initial);
            glUniform3fv(glGetUniformLocation(program, "coordIncX"), 1, face.incX);
            glUniform3fv(glGetUniformLocation(program, "coordIncY"), 1, face.incY);
        });
        for (int y = 1; y <= 2; ++y)
            for (int x = 1; x <= 2; ++x) expectPixel(pixels, 4, x, y, face.color);
    }
    glDeleteTextures(1, &texture);
}

TEST_F(Programs, PrefilterAveragesTheCubeAroundTheTexelDirection) {
    const uint32_t program = quadProgram(shader_sources::prefilter_frag);
    // A cube of one texel per face, each face its own colour.
    GLuint cube = 0;
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    for (int face = 0; face < 6; ++face) {
        const float color[4] = {face / 5.0f, 1 - face / 5.0f, 0.5f, 1};
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, color);
    }
    // Row 0: the half-vector along the normal, then two tilted ones; row 1: a half-vector far off the normal.
    const float s = std::sin(0.05f), c = std::cos(0.05f);
    std::vector<float> table = {0, 0, 1, 0, s, 0, c, 0, -s, 0, c, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const GLuint samples = floatTexture(GL_TEXTURE_2D, 3, 2, table);
    const float plusX[3][3] = {{0.5f, 0.5f, 0.5f}, {0, 0, -1}, {0, -1, 0}};

    auto run = [&](unsigned count, unsigned layer) {
        return draw(program, 2, 2, [&] {
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, samples);
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
            glUniform1i(glGetUniformLocation(program, "textureSampler"), 0);
            glUniform1i(glGetUniformLocation(program, "samplesSampler"), 1);
            glUniform3fv(glGetUniformLocation(program, "initialCoord"), 1, plusX[0]);
            glUniform3fv(glGetUniformLocation(program, "coordIncX"), 1, plusX[1]);
            glUniform3fv(glGetUniformLocation(program, "coordIncY"), 1, plusX[2]);
            glUniform1f(glGetUniformLocation(program, "sampleLod"), 0);
            glUniform1ui(glGetUniformLocation(program, "numSamples"), count);
            glUniform1ui(glGetUniformLocation(program, "roughnessLayer"), layer);
        });
    };
    // Near the normal every sample stays on the +X face: its colour comes back.
    const float positiveX[4] = {0, 1, 0.5f, 1};
    const auto nearNormal = run(3, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) expectPixel(nearNormal, 2, x, y, positiveX);
    // A half-vector at right angles reflects to the opposite side, which does not count: nothing is left.
    const float nothing[4] = {0, 0, 0, 0};
    expectPixel(run(1, 1), 2, 0, 0, nothing);
    glDeleteTextures(1, &samples);
    glDeleteTextures(1, &cube);
}

}  // namespace
