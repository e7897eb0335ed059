#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "ProgramRegistry.h"
#include "ShaderSources.h"
#include "UniformBlocks.h"
#include "WatchedTest.h"
#include "mat4.h"

namespace {

using vec2f = std::array<float, 2>;
using vec3f = std::array<float, 3>;
using vec4f = std::array<float, 4>;
using uniform_value = std::variant<int, float, vec2f, vec3f, vec4f, qssdk::mat4>;
using uniform_set = std::map<std::string, uniform_value>;

constexpr float pi = 3.14159265f;

// The GL type of each kind of uniform value, in the order of uniform_value.
constexpr GLenum uniformTypes[] = {GL_INT, GL_FLOAT, GL_FLOAT_VEC2, GL_FLOAT_VEC3, GL_FLOAT_VEC4, GL_FLOAT_MAT4};

float dot(const vec3f& a, const vec3f& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

vec3f normalized(const vec3f& v) {
    const float length = std::sqrt(dot(v, v));
    return {v[0] / length, v[1] / length, v[2] / length};
}

qssdk::mat4 scaling(float s) {
    qssdk::mat4 m = qssdk::mat4::identity();
    m.at(0, 0) = m.at(1, 1) = m.at(2, 2) = s;
    return m;
}

// Every uniform the model draw sets, with its type, at values that leave each feature neutral: no maps,
// no environment, white, lit, plane XY mapping, eye far out on +z.
uniform_set neutralMaterial() {
    const qssdk::mat4 identity = qssdk::mat4::identity();
    return {
        {"modelMatrix", identity},
        {"normalMatrix", identity},
        {"eyePosition", vec3f{0, 0, 1000}},
        {"modelColor", vec4f{1, 1, 1, 1}},
        {"uvType", 3},
        {"edgeFeather", 0.0f},
        {"edgeShrink", 0.0f},
        {"diffuseGamma", 1.0f},
        {"glossinessGamma", 1.0f},
        {"illuminationGamma", 1.0f},
        {"environmentGamma", 1.0f},
        {"useDiffuseTexture", 0},
        {"useGlossinessTexture", 0},
        {"useIlluminationTexture", 0},
        {"useNormalTexture", 0},
        {"useEnvironmentTexture", 0},
        {"diffuseBlend", 1.0f},
        {"diffuseBrightness", 1.0f},
        {"glossinessBrightness", 1.0f},
        {"illuminationBrightness", 1.0f},
        {"environmentBrightness", 1.0f},
        {"ambientAmount", 1.0f},
        {"diffuseAmount", 1.0f},
        {"glossinessAmount", 0.5f},
        {"specularAmount", 1.0f},
        {"reflectivityAmount", 0.0f},
        {"illuminationColor", vec4f{0, 0, 0, 1}},
        {"normalAmount", 1.0f},
        {"normalInvertGreen", 1.0f},
        {"clipLighting", 0.0f},
        {"environmentRotation", identity},
        {"illuminationFresnel", 0.0f},
        {"illuminationFresnelBias", 0.0f},
        {"illuminationShadowLight", 0.0f},
        {"illuminationShadowLightContrast", 1.0f},
        {"illuminationShadowLightExpand", 0.0f},
        {"illuminationBumpInfluence", 1.0f},
        {"uvFeathering", 1.0f},
        {"uvRepeat", vec2f{1, 1}},
        {"uvOffset", vec2f{0, 0}},
        {"uvRotation", vec2f{1, 0}},
        {"unlitMode", 0},
        {"flattenBottom", 0},
    };
}

// The samplers and the texture units the renderer gives them.
const std::map<std::string, std::pair<GLenum, int>> samplers = {
    {"diffuseSampler", {GL_SAMPLER_2D, 0}},       {"glossinessSampler", {GL_SAMPLER_2D, 1}},
    {"illuminationSampler", {GL_SAMPLER_2D, 2}},  {"normalSampler", {GL_SAMPLER_2D, 3}},
    {"environmentSampler", {GL_SAMPLER_CUBE, 4}},
};

// The mesh's vertex: 64 bytes, position, texture coordinate, normal and tangent at 0, 16, 32 and 48.
struct mesh_vertex {
    float position[4];
    float uv[4];
    float normal[4];
    float tangent[4];
};
static_assert(sizeof(mesh_vertex) == 64);

std::string_view text(std::span<const unsigned char> file) {
    return {reinterpret_cast<const char*>(file.data()), file.size()};
}

// A light for the Lights block; only the fields that the block carries matter.
light_properties light(int type, vec4 position, vec4 direction, vec4 color, float coneAngle = 0, float feather = 0) {
    light_properties l;
    l.lightType = type;
    l.position = position;
    l.direction = direction;
    l.color = color;
    l.coneAngle = coneAngle;
    l.coneFeather = feather;
    return l;
}

// The surface program drawn over a 5 x 5 float target as a screen-filling square at z = 0.5 that faces
// +z, with identity view and projection, so that world, model and clip coordinates agree. The centre
// pixel shows exactly the point (0, 0, 0.5).
class SurfaceProgram : public GlTest {
protected:
    static constexpr int size = 5;

    void SetUp() override {
        GlTest::SetUp();
        registry = std::make_unique<ProgramRegistry>();
        program = registry->compileProgram(text(shader_sources::surface_vert), text(shader_sources::surface_frag));
        glUniformBlockBinding(program, glGetUniformBlockIndex(program, "TransformMatrices"), 0);
        glUniformBlockBinding(program, glGetUniformBlockIndex(program, "Lights"), 1);
        glUseProgram(program);
        for (const auto& [name, sampler] : samplers)
            glUniform1i(glGetUniformLocation(program, name.c_str()), sampler.second);
        glUseProgram(0);

        const mesh_vertex square[4] = {
            {{-1, -1, 0.5f, 0}, {0, 0}, {0, 0, 1, 0}, {1, 0, 0, 1}},
            {{1, -1, 0.5f, 0}, {1, 0}, {0, 0, 1, 0}, {1, 0, 0, 1}},
            {{-1, 1, 0.5f, 0}, {0, 1}, {0, 0, 1, 0}, {1, 0, 0, 1}},
            {{1, 1, 0.5f, 0}, {1, 1}, {0, 0, 1, 0}, {1, 0, 0, 1}},
        };
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
        glGenBuffers(1, &vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof square, square, GL_STATIC_DRAW);
        const struct {
            GLint components;
            size_t offset;
        } attributes[] = {{3, 0}, {2, 16}, {3, 32}, {4, 48}};
        for (GLuint location = 0; location < 4; ++location) {
            glVertexAttribPointer(location, attributes[location].components, GL_FLOAT, GL_FALSE, sizeof(mesh_vertex),
                                  reinterpret_cast<const void*>(attributes[location].offset));
            glEnableVertexAttribArray(location);
        }
        glBindVertexArray(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);

        render_properties view;
        view.viewMatrix = view.projMatrix = qssdk::mat4::identity();
        const TransformMatricesBlock transforms = packTransformMatrices(view);
        glGenBuffers(1, &transformBuffer);
        glBindBuffer(GL_UNIFORM_BUFFER, transformBuffer);
        glBufferData(GL_UNIFORM_BUFFER, sizeof transforms, &transforms, GL_STATIC_DRAW);
        glGenBuffers(1, &lightsBuffer);
        glBindBuffer(GL_UNIFORM_BUFFER, lightsBuffer);
        glBufferData(GL_UNIFORM_BUFFER, sizeof(LightsBlock), nullptr, GL_DYNAMIC_DRAW);
        glBindBuffer(GL_UNIFORM_BUFFER, 0);
        setLights({});
    }

    void TearDown() override {
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        glDeleteBuffers(1, &transformBuffer);
        glDeleteBuffers(1, &lightsBuffer);
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteVertexArrays(1, &vertexArray);
        registry.reset();
        GlTest::TearDown();
    }

    void setLights(const std::vector<light_properties>& lights) {
        const LightsBlock block = packLights(lights);
        glBindBuffer(GL_UNIFORM_BUFFER, lightsBuffer);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof block, &block);
        glBindBuffer(GL_UNIFORM_BUFFER, 0);
    }

    // A 2 x 2 texture of one texel value, on the given unit.
    GLuint constantTexture(int unit, vec4f texel) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        textures.push_back(texture);
        const bool cube = unit == samplers.at("environmentSampler").second;
        const GLenum target = cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(target, texture);
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        const std::vector<vec4f> texels(4, texel);
        for (int face = 0; face < (cube ? 6 : 1); ++face)
            glTexImage2D(cube ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D, 0, GL_RGBA32F, 2, 2, 0, GL_RGBA,
                         GL_FLOAT, texels.data());
        glActiveTexture(GL_TEXTURE0);
        return texture;
    }

    // Draws the square with these uniforms (the neutral ones where not given) and reads the target back.
    // A given normal replaces the square's own at every vertex.
    std::vector<vec4f> draw(const uniform_set& uniforms, GLenum frontFace = GL_CCW,
                            const vec3f* normal = nullptr) {
        // Made on a unit of its own, so that the maps stay bound on theirs.
        GLuint target = 0, framebuffer = 0;
        glActiveTexture(GL_TEXTURE7);
        glGenTextures(1, &target);
        glBindTexture(GL_TEXTURE_2D, target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, size, size, 0, GL_RGBA, GL_FLOAT, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, size, size);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glFrontFace(frontFace);

        glUseProgram(program);
        uniform_set values = neutralMaterial();
        for (const auto& [name, value] : uniforms) values[name] = value;
        for (const auto& [name, value] : values) setUniform(name, value);
        glBindBufferBase(GL_UNIFORM_BUFFER, 0, transformBuffer);
        glBindBufferBase(GL_UNIFORM_BUFFER, 1, lightsBuffer);
        glBindVertexArray(vertexArray);
        if (normal) {
            glDisableVertexAttribArray(2);
            glVertexAttrib3fv(2, normal->data());
        }
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glEnableVertexAttribArray(2);
        glBindVertexArray(0);
        glUseProgram(0);

        std::vector<vec4f> pixels(size * size);
        glReadPixels(0, 0, size, size, GL_RGBA, GL_FLOAT, pixels.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &target);
        glFrontFace(GL_CCW);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return pixels;
    }

    void setUniform(const std::string& name, const uniform_value& value) {
        const GLint location = glGetUniformLocation(program, name.c_str());
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, int>) glUniform1i(location, v);
                else if constexpr (std::is_same_v<T, float>) glUniform1f(location, v);
                else if constexpr (std::is_same_v<T, vec2f>) glUniform2fv(location, 1, v.data());
                else if constexpr (std::is_same_v<T, vec3f>) glUniform3fv(location, 1, v.data());
                else if constexpr (std::is_same_v<T, vec4f>) glUniform4fv(location, 1, v.data());
                else glUniformMatrix4fv(location, 1, GL_FALSE, v.m);
            },
            value);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << name;
    }

    static vec4f at(const std::vector<vec4f>& pixels, int x, int y) { return pixels[y * size + x]; }
    static vec4f centre(const std::vector<vec4f>& pixels) { return at(pixels, size / 2, size / 2); }
    // The point of the square that pixel (x, y) shows.
    static float coordinate(int i) { return (i + 0.5f) / size * 2 - 1; }

    static void expectColor(const vec4f& actual, const vec4f& expected, float tolerance, const std::string& what) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[c], expected[c], tolerance) << what << " channel " << c;
    }

    std::unique_ptr<ProgramRegistry> registry;
    GLuint program = 0;
    GLuint vertexArray = 0, vertexBuffer = 0, transformBuffer = 0, lightsBuffer = 0;
    std::vector<GLuint> textures;
};

TEST_F(SurfaceProgram, HasEveryUniformTheModelDrawSetsWithItsType) {
    EXPECT_TRUE(watcher.seen().empty()) << "no shader log was shown";
    EXPECT_EQ(glGetFragDataLocation(program, "outColor"), 0);

    std::map<std::string, GLenum> expected;
    for (const auto& [name, value] : neutralMaterial()) expected[name] = uniformTypes[value.index()];
    for (const auto& [name, sampler] : samplers) expected[name] = sampler.first;

    // The uniforms outside blocks are exactly these: none missing, none the draw would not set.
    std::map<std::string, GLenum> active;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLuint i = 0; i < static_cast<GLuint>(count); ++i) {
        GLint block = 0;
        glGetActiveUniformsiv(program, 1, &i, GL_UNIFORM_BLOCK_INDEX, &block);
        if (block != -1) continue;
        char name[128] = {};
        GLint arraySize = 0;
        GLenum type = 0;
        glGetActiveUniform(program, i, sizeof name, nullptr, &arraySize, &type, name);
        EXPECT_EQ(arraySize, 1) << name;
        active[name] = type;
        EXPECT_NE(glGetUniformLocation(program, name), -1) << name;
    }
    EXPECT_EQ(active, expected);
}

TEST_F(SurfaceProgram, ReadsTheMeshAttributesAtTheirLocations) {
    const std::map<std::string, std::pair<GLenum, GLint>> read = {
        {"inPosition", {GL_FLOAT_VEC4, 0}}, {"inNormal", {GL_FLOAT_VEC3, 2}}, {"inTangent", {GL_FLOAT_VEC4, 3}}};
    const std::pair<GLenum, GLint> texCoords = {GL_FLOAT_VEC2, 1};  // declared; a compiler may drop it
    std::map<std::string, std::pair<GLenum, GLint>> active;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLuint i = 0; i < static_cast<GLuint>(count); ++i) {
        char name[64] = {};
        GLint arraySize = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, i, sizeof name, nullptr, &arraySize, &type, name);
        active[name] = {type, glGetAttribLocation(program, name)};
    }
    for (const auto& [name, attribute] : read) EXPECT_EQ(active[name], attribute) << name;
    if (active.contains("inTexCoords")) {
        EXPECT_EQ(active["inTexCoords"], texCoords);
    }
    EXPECT_LE(active.size(), 4u);
}

TEST_F(SurfaceProgram, UniformBlocksHaveTheLayoutTheRendererPacks) {
    struct member {
        std::string name;
        GLenum type;
        size_t offset;
    };
    std::vector<member> lightsMembers = {{"numLights", GL_INT, offsetof(LightsBlock, numLights)},
                                         {"ambientLights", GL_FLOAT_VEC4, offsetof(LightsBlock, ambientLights)}};
    for (int i = 0; i < maxPackedLights; ++i) {
        const std::string slot = "lights[" + std::to_string(i) + "].";
        const size_t base = offsetof(LightsBlock, lights) + i * sizeof(LightSlot);
        const member fields[] = {
            {slot + "position", GL_FLOAT_VEC4, base + offsetof(LightSlot, position)},
            {slot + "direction", GL_FLOAT_VEC4, base + offsetof(LightSlot, direction)},
            {slot + "color", GL_FLOAT_VEC4, base + offsetof(LightSlot, color)},
            {slot + "lightType", GL_INT, base + offsetof(LightSlot, lightType)},
            {slot + "falloffType", GL_INT, base + offsetof(LightSlot, falloffType)},
            {slot + "falloff", GL_FLOAT, base + offsetof(LightSlot, falloff)},
            {slot + "spotConeCos", GL_FLOAT, base + offsetof(LightSlot, spotConeCos)},
            {slot + "spotFeather", GL_FLOAT, base + offsetof(LightSlot, spotFeather)},
        };
        lightsMembers.insert(lightsMembers.end(), std::begin(fields), std::end(fields));
    }
    const struct {
        const char* name;
        GLint size;
        std::vector<member> members;
    } blocks[] = {
        {"TransformMatrices",
         144,
         {{"viewMatrix", GL_FLOAT_MAT4, offsetof(TransformMatricesBlock, viewMatrix)},
          {"projMatrix", GL_FLOAT_MAT4, offsetof(TransformMatricesBlock, projMatrix)},
          {"viewSize", GL_FLOAT_VEC2, offsetof(TransformMatricesBlock, viewSize)}}},
        {"Lights", 672, lightsMembers},
    };
    static_assert(sizeof(TransformMatricesBlock) == 144 && sizeof(LightsBlock) == 672);
    EXPECT_EQ(lightsMembers[2 + 8 * 7].offset, 592u) << "slot 7 starts at 32 + 7 x 80";

    for (const auto& block : blocks) {
        const GLuint index = glGetUniformBlockIndex(program, block.name);
        ASSERT_NE(index, GL_INVALID_INDEX) << block.name;
        GLint dataSize = 0, memberCount = 0;
        glGetActiveUniformBlockiv(program, index, GL_UNIFORM_BLOCK_DATA_SIZE, &dataSize);
        glGetActiveUniformBlockiv(program, index, GL_UNIFORM_BLOCK_ACTIVE_UNIFORMS, &memberCount);
        EXPECT_EQ(dataSize, block.size) << block.name;
        EXPECT_EQ(memberCount, static_cast<GLint>(block.members.size())) << block.name;
        for (const member& m : block.members) {
            const char* name = m.name.c_str();
            GLuint uniform = GL_INVALID_INDEX;
            glGetUniformIndices(program, 1, &name, &uniform);
            ASSERT_NE(uniform, GL_INVALID_INDEX) << name;
            GLint offset = -1, type = 0, owner = -1;
            glGetActiveUniformsiv(program, 1, &uniform, GL_UNIFORM_OFFSET, &offset);
            glGetActiveUniformsiv(program, 1, &uniform, GL_UNIFORM_TYPE, &type);
            glGetActiveUniformsiv(program, 1, &uniform, GL_UNIFORM_BLOCK_INDEX, &owner);
            EXPECT_EQ(offset, static_cast<GLint>(m.offset)) << name;
            EXPECT_EQ(static_cast<GLenum>(type), m.type) << name;
            EXPECT_EQ(owner, static_cast<GLint>(index)) << name;
        }
    }
}

TEST_F(SurfaceProgram, UnlitWithoutMapsGivesTheColourPremultipliedPlusTheIllumination) {
    // A light in the block that unlit mode must ignore; the eye is close, so the view angle varies
    // across the square, and no edge settings means no alpha change anywhere.
    setLights({light(0, {}, {0, 0, -1, 0}, {1, 1, 1, 1})});
    const struct {
        vec4f illumination;
        vec4f expected;
    } cases[] = {
        {{0, 0, 0, 1}, {0.4f, 0.2f, 0.1f, 0.5f}},
        {{0.2f, 0.1f, 0.05f, 1}, {0.5f, 0.25f, 0.125f, 0.5f}},
    };
    for (const auto& c : cases) {
        const auto pixels = draw({{"unlitMode", 1},
                                  {"modelColor", vec4f{0.8f, 0.4f, 0.2f, 0.5f}},
                                  {"illuminationColor", c.illumination},
                                  {"eyePosition", vec3f{0, 0, 2}},
                                  {"specularAmount", 5.0f},
                                  {"diffuseAmount", 3.0f}});
        for (int i = 0; i < size * size; ++i)
            expectColor(pixels[i], c.expected, 1e-5f, "illumination " + std::to_string(c.illumination[0]));
    }
}

TEST_F(SurfaceProgram, LightsComeFromTheLightsBlock) {
    // At the centre pixel the normal, the eye and every light but the turned-away spot face +z, so
    // n.l = n.h = n.v = 1, and the specular term is D / 4 = 1 / (4 pi a^2), a = (0.5 x 0.875 + 0.125)^3.
    const float a = std::pow(0.5f * 0.875f + 0.125f, 3.0f);
    const float specular = 1 / (4 * pi * a * a);
    // A spot turned 20 degrees off the centre, cone 90 (half angle 45), feather 0.8: f = (1 - 20/45) / 0.8.
    const float turn = 20 * pi / 180;
    const float f = (1 - 20.0f / 45.0f) / 0.8f;
    const float smooth = f * f * (3 - 2 * f);
    const vec4 above{0, 0, 5, 1}, down{0, 0, -1, 0}, red{0.5f, 0.25f, 1, 1}, halfRed{0.25f, 0.125f, 0.5f, 1};
    const light_properties ambient = light(3, {}, {}, {0.1f, 0.2f, 0.3f, 1});
    const struct {
        const char* what;
        std::vector<light_properties> lights;
        float factor;  // of red, the one coloured light's share
    } cases[] = {
        {"parallel", {ambient, light(0, {-1, 2, 30, 1}, down, red)}, 1},
        {"point", {light(2, above, {}, red), ambient}, 1},
        {"spot at the centre", {ambient, light(1, above, down, red, 90, 0)}, 1},
        {"spot turned away", {ambient, light(1, above, {0, 0, 1, 0}, red, 90, 0)}, 0},
        {"spot feathered", {ambient, light(1, above, {std::sin(turn), 0, -std::cos(turn), 0}, red, 90, 0.8f)},
         smooth * smooth},
        {"two lights", {light(2, above, {}, halfRed), ambient, light(0, {}, down, halfRed)}, 1},
    };
    const vec4f modelColor{1, 0.5f, 0.25f, 1};
    const float diffuseAmount = 0.5f, specularAmount = 0.1f, ambientAmount = 2;
    for (const auto& c : cases) {
        setLights(c.lights);
        const vec4f pixel = centre(draw({{"modelColor", modelColor},
                                         {"diffuseAmount", diffuseAmount},
                                         {"specularAmount", specularAmount},
                                         {"ambientAmount", ambientAmount}}));
        const float lightColor[3] = {red.x, red.y, red.z}, ambientColor[3] = {0.1f, 0.2f, 0.3f};
        vec4f expected{0, 0, 0, 1};
        for (int ch = 0; ch < 3; ++ch) {
            const float lit = c.factor * lightColor[ch];
            expected[ch] = modelColor[ch] * (lit * diffuseAmount + ambientColor[ch] * ambientAmount) +
                           lit * specular * specularAmount;
        }
        expectColor(pixel, expected, 2e-4f, c.what);
    }
}

TEST_F(SurfaceProgram, TheHemisphereDropsEverythingAboveTheEquator) {
    for (const int flatten : {0, 1}) {
        const auto pixels = draw({{"unlitMode", 1}, {"flattenBottom", flatten}});
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool kept = !flatten || coordinate(y) <= 0;
                expectColor(at(pixels, x, y), kept ? vec4f{1, 1, 1, 1} : vec4f{0, 0, 0, 0}, 1e-6f,
                            "flatten " + std::to_string(flatten) + " row " + std::to_string(y));
            }
    }
}

TEST_F(SurfaceProgram, EdgeFeatherAndShrinkFadeTowardsTheSilhouette) {
    const struct {
        float feather, shrink;
    } cases[] = {{0.5f, 0}, {0.5f, 0.5f}, {0, 0.3f}};
    for (const auto& c : cases) {
        // The eye, 1 in front of the square, sees its corners at a wide angle and its centre head-on.
        const auto pixels = draw({{"unlitMode", 1},
                                  {"modelColor", vec4f{1, 1, 1, 0.8f}},
                                  {"eyePosition", vec3f{0, 0, 1.5f}},
                                  {"edgeFeather", c.feather},
                                  {"edgeShrink", c.shrink}});
        const float ef = std::max(0.001f, c.feather);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const float px = coordinate(x), py = coordinate(y);
                const float facing = 1 / std::sqrt(px * px + py * py + 1);
                const float d = 1 - std::acos(facing) / (pi / 2);
                const float s = std::clamp((d - c.shrink) / (1 - c.shrink * 0.999f), 0.0f, 1.0f);
                const float alpha = 0.8f * std::clamp(1 - (ef - s) / ef, 0.0f, 1.0f);
                expectColor(at(pixels, x, y), {alpha, alpha, alpha, alpha}, 2e-4f,
                            "feather " + std::to_string(c.feather) + " shrink " + std::to_string(c.shrink) + " at " +
                                std::to_string(x) + "," + std::to_string(y));
            }
    }
}

TEST_F(SurfaceProgram, TheDiffuseMapReadsTheSameThroughEveryUvType) {
    // A map of one texel: whatever the projection, the same value. The normal, off every axis and on
    // both sides of them, spreads the box weights over planes of both sides; they must sum to 1.
    const vec3f normal = normalized({1, 2, -2});
    const GLuint map = constantTexture(0, {0.5f, 0.25f, 1, 0.8f});
    // Gamma 2 on colour only, blend 0.75 over white, then the value scaled by 1.5.
    const float blend = 0.75f;
    vec4f expected{};
    const float gammaApplied[4] = {0.25f, 0.0625f, 1, 0.8f};
    for (int ch = 0; ch < 4; ++ch) expected[ch] = 1 + (gammaApplied[ch] - 1) * blend;
    for (int ch = 0; ch < 3; ++ch) expected[ch] *= 1.5f * expected[3];  // premultiplied
    for (const int uvType : {1, 2, 3, 4, 5}) {
        const auto pixels = draw({{"unlitMode", 1},
                                  {"uvType", uvType},
                                  {"useDiffuseTexture", static_cast<int>(map)},
                                  {"diffuseGamma", 2.0f},
                                  {"diffuseBlend", blend},
                                  {"diffuseBrightness", 1.5f},
                                  {"uvRotation", vec2f{std::cos(0.3f), std::sin(0.3f)}},
                                  {"uvRepeat", vec2f{2, 3}}},
                                 GL_CCW, &normal);
        for (int i = 0; i < size * size; ++i)
            expectColor(pixels[i], expected, 1e-4f, "uv type " + std::to_string(uvType));
    }
}

TEST_F(SurfaceProgram, TheEnvironmentAddsDiffuseLightAndReflection) {
    // Head-on at the centre |n.e| = 1, so the reflection weight is 0.99 x 0.5 + 0.01 (reflectivity 0.5).
    const float k = 0.5f * 0.99f + 0.01f;
    const struct {
        vec4f texel;
        vec3f sample;  // after the clamp, gamma 1 and the value scaled by 2
    } cases[] = {
        {{0.5f, 1, 0.25f, 1}, {1, 2, 0.5f}},
        {{-1, 0.5f, 0, 1}, {0, 1, 0}},  // a negative texel of a float layer contributes nothing
    };
    for (const auto& c : cases) {
        const GLuint cube = constantTexture(4, c.texel);
        const vec4f pixel = centre(draw({{"unlitMode", 1},
                                         {"modelColor", vec4f{0.5f, 0.5f, 1, 1}},
                                         {"useEnvironmentTexture", static_cast<int>(cube)},
                                         {"reflectivityAmount", 0.5f},
                                         {"environmentBrightness", 2.0f}}));
        const float modelColor[3] = {0.5f, 0.5f, 1};
        vec4f expected{0, 0, 0, 1};
        for (int ch = 0; ch < 3; ++ch) expected[ch] = modelColor[ch] * (c.sample[ch] + 1) + k * c.sample[ch];
        expectColor(pixel, expected, 1e-4f, "texel " + std::to_string(c.texel[0]));
    }
}

TEST_F(SurfaceProgram, NormalMapsTurnTheLitNormal) {
    // One texel, the tangent-space normal t = (0.36, 0.48, 0.8), lit by a parallel light from l, off +z
    // in both x and y so that a wrong sign of either texture axis shows.
    const vec3f t{0.36f, 0.48f, 0.8f};
    const GLuint map = constantTexture(3, {(t[0] + 1) / 2, (t[1] + 1) / 2, (t[2] + 1) / 2, 1});
    const vec3f l = normalized({0.5f, -0.2f, 1});
    // Plane mapping, full amount: tangent +x, bitangent +y, so the normal is t itself; with the UV turned
    // by r, t's x and y are turned back by -r.
    const float r = 0.5f;
    const vec3f turnedBack{t[0] * std::cos(r) + t[1] * std::sin(r), t[1] * std::cos(r) - t[0] * std::sin(r), t[2]};
    // Box mapping at the centre: only the +z plane has weight; its normal, mirrored in x, is added to the
    // surface normal, the negative sides add the surface normal alone; half of that mixed with f.
    const vec3f m = normalized({-t[0], t[1], 2 + t[2]});
    const vec3f box = normalized({m[0], m[1], m[2] + 1});
    const struct {
        const char* what;
        int uvType;
        float amount;
        float rotation;
        GLenum frontFace;
        vec3f normal;  // the expected normal, seen from outside
    } cases[] = {
        {"plane", 3, 1, 0, GL_CCW, t},
        {"plane, UV turned", 3, 1, r, GL_CCW, turnedBack},
        {"box", 2, 0.5f, 0, GL_CCW, box},
        // From inside everything turns round: the surface normal, the map's normal, the light.
        {"box seen from inside", 2, 0.5f, 0, GL_CW, box},
    };
    for (const auto& c : cases) {
        const float side = c.frontFace == GL_CCW ? 1 : -1;
        setLights({light(0, {}, {-side * l[0], -side * l[1], -side * l[2], 0}, {1, 1, 1, 1})});
        // The normal matrix of a sphere of radius 200 shortens normals 200 times: the map must not lose
        // its share in the mix for that.
        const vec4f pixel = centre(draw({{"uvType", c.uvType},
                                         {"useNormalTexture", static_cast<int>(map)},
                                         {"normalAmount", c.amount},
                                         {"uvRotation", vec2f{std::cos(c.rotation), std::sin(c.rotation)}},
                                         {"normalMatrix", scaling(1.0f / 200)},
                                         {"specularAmount", 0.0f},
                                         {"ambientAmount", 0.0f}},
                                        c.frontFace));
        const float nl = dot(c.normal, l);
        expectColor(pixel, {nl, nl, nl, 1}, 2e-4f, c.what);
    }
}

}  // namespace
