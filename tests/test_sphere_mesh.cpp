#include <gtest/gtest.h>

#include <GL/glew.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ProgramRegistry.h"
#include "RenderTargetSet.h"
#include "SphereMesh.h"
#include "SphereMeshData.h"
#include "WatchedTest.h"
#include "mat4.h"
#include "qs_exception.h"
#include "quaternion.h"

namespace {

using qssdk::mat4;

struct vec3 {
    double x = 0, y = 0, z = 0;
};
vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3 operator*(double s, vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
vec3 cross(vec3 a, vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(vec3 a) { return std::sqrt(dot(a, a)); }
vec3 normalize(vec3 a) { return (1 / length(a)) * a; }
vec3 v3(const float* f) { return {f[0], f[1], f[2]}; }

constexpr double pi = 3.14159265358979323846;

// The surface program's spherical mapping of a model-space direction.
double mapU(vec3 d) { return -std::atan2(-d.x, -d.z) / (2 * pi) + 0.5; }
double mapV(vec3 d) { return std::atan2(d.y, std::hypot(d.x, d.z)) / pi + 0.5; }
// The difference of two u on the circle, in (-0.5, 0.5].
double wrapped(double du) { return du - std::round(du); }

// Unit gradient of a mapping on the sphere at q, by finite differences along the tangent plane.
template <class Map>
vec3 gradientDirection(vec3 q, Map map) {
    const vec3 a = normalize(cross(q, std::abs(q.y) < 0.9 ? vec3{0, 1, 0} : vec3{1, 0, 0}));
    const vec3 b = cross(q, a);
    const double h = 1e-6;
    const double da = wrapped(map(normalize(q + h * a)) - map(q));
    const double db = wrapped(map(normalize(q + h * b)) - map(q));
    return normalize(da * a + db * b);
}

class SphereMesh : public testing::Test {
protected:
    static void SetUpTestSuite() { mesh = new mesh_data(inflateSphereMesh()); }
    static void TearDownTestSuite() {
        delete mesh;
        mesh = nullptr;
    }

    static const mesh_vertex& corner(size_t triangle, int k) { return mesh->vertices[mesh->indices[3 * triangle + k]]; }
    static size_t triangles() { return mesh->indices.size() / 3; }
    static vec3 centroidOf(size_t triangle) {
        return (1.0 / 3) * (v3(corner(triangle, 0).position) + v3(corner(triangle, 1).position) +
                            v3(corner(triangle, 2).position));
    }

    static mesh_data* mesh;
};
mesh_data* SphereMesh::mesh = nullptr;

TEST(SphereMeshStreams, InflateToTheirStatedSizes) {
    const struct {
        std::span<const unsigned char> stream;
        size_t size;
    } streams[] = {{sphere_mesh_data::sphere_vertices_z, 6'144'000}, {sphere_mesh_data::sphere_indices_z, 384'000}};
    for (const auto& s : streams) {
        std::vector<Bytef> out(s.size + 1);  // room for one byte too many
        uLongf size = out.size();
        ASSERT_EQ(uncompress(out.data(), &size, s.stream.data(), s.stream.size()), Z_OK);
        EXPECT_EQ(size, s.size);
    }
    const mesh_data mesh = inflateSphereMesh();
    EXPECT_EQ(mesh.vertices.size(), 96'000u);
    EXPECT_EQ(mesh.indices.size(), 96'000u);
}

TEST(SphereMeshStreams, AStreamThatDoesNotFillItsArrayExactlyThrows) {
    const std::string text = "twelve bytes";
    std::vector<Bytef> stream(compressBound(text.size()));
    uLongf streamSize = stream.size();
    ASSERT_EQ(compress(stream.data(), &streamSize, reinterpret_cast<const Bytef*>(text.data()), text.size()), Z_OK);
    stream.resize(streamSize);
    std::vector<Bytef> garbage(stream.size(), 0x5a);
    const struct {
        const char* name;
        std::span<const unsigned char> compressed;
        size_t outSize;
        bool throws;
    } cases[] = {
        {"exact", stream, text.size(), false},
        {"inflates short", stream, text.size() + 4, true},
        {"inflates long", stream, text.size() - 4, true},
        {"truncated", std::span(stream).first(stream.size() - 3), text.size(), true},
        {"not zlib", garbage, text.size(), true},
    };
    for (const auto& c : cases) {
        std::vector<std::byte> out(c.outSize);
        try {
            inflateStream(c.compressed, out, "test stream");
            EXPECT_FALSE(c.throws) << c.name;
            EXPECT_EQ(std::memcmp(out.data(), text.data(), text.size()), 0) << c.name;
        } catch (const qs_exception& e) {
            EXPECT_TRUE(c.throws) << c.name;
            EXPECT_STREQ(e.what(), "unable to inflate the test stream") << c.name;
        }
    }
}

TEST_F(SphereMesh, VerticesLieOnTheUnitSphereWithAUnitOutwardFrame) {
    for (size_t i = 0; i < mesh->vertices.size(); ++i) {
        const mesh_vertex& v = mesh->vertices[i];
        const vec3 p = v3(v.position), n = v3(v.normal), t = v3(v.tangent);
        ASSERT_NEAR(length(p), 1.0, 0.001) << "vertex " << i;
        ASSERT_NEAR(length(n), 1.0, 1e-5) << "vertex " << i;
        ASSERT_GT(dot(n, normalize(p)), 0.99999) << "vertex " << i;  // outward
        ASSERT_NEAR(length(t), 1.0, 1e-5) << "vertex " << i;
        ASSERT_NEAR(dot(t, n), 0.0, 1e-5) << "vertex " << i;
        ASSERT_TRUE(v.tangent[3] == 1.0f || v.tangent[3] == -1.0f) << "vertex " << i;
        ASSERT_TRUE(v.uv[0] >= 0 && v.uv[0] <= 1 && v.uv[1] >= 0 && v.uv[1] <= 1) << "vertex " << i;
        ASSERT_TRUE(v.unused0 == 0 && v.unused2 == 0) << "vertex " << i;
    }
}

TEST_F(SphereMesh, UvFollowsTheSurfaceProgramsSphericalMapping) {
    for (size_t tri = 0; tri < triangles(); ++tri) {
        const vec3 centroid = centroidOf(tri);
        double u = 0, v = 0;
        for (int k = 0; k < 3; ++k) {
            const mesh_vertex& c = corner(tri, k);
            const vec3 p = v3(c.position);
            ASSERT_NEAR(c.uv[1], mapV(p), 1e-5) << "triangle " << tri;
            // u is undefined at a pole: there it is the limit along the triangle.
            const vec3 at = std::abs(p.y) < 1 ? p : normalize(0.99 * p + 0.01 * centroid);
            ASSERT_NEAR(wrapped(c.uv[0] - mapU(at)), 0.0, 1e-5) << "triangle " << tri << " corner " << k;
            u += c.uv[0] / 3;
            v += c.uv[1] / 3;
        }
        // Inside, the interpolated uv matches the mapping too: no triangle at the seam or a pole is smeared
        // over the whole texture.
        ASSERT_NEAR(u, mapU(normalize(centroid)), 0.25 / 128) << "triangle " << tri;
        ASSERT_NEAR(v, mapV(normalize(centroid)), 0.25 / 126) << "triangle " << tri;
    }
}

TEST_F(SphereMesh, TangentRunsAlongIncreasingUAndHandednessGivesIncreasingV) {
    for (size_t tri = 0; tri < triangles(); ++tri) {
        const vec3 centroid = centroidOf(tri);
        for (int k = 0; k < 3; ++k) {
            const mesh_vertex& c = corner(tri, k);
            // Just inside the triangle, where the mapping is smooth even for a corner on a pole.
            const vec3 q = normalize(0.9 * v3(c.position) + 0.1 * centroid);
            const vec3 t = v3(c.tangent), n = v3(c.normal);
            const vec3 bitangent = c.tangent[3] * cross(n, t);  // as the surface program builds it
            ASSERT_GT(dot(t, gradientDirection(q, mapU)), 0.9999) << "triangle " << tri << " corner " << k;
            ASSERT_GT(dot(bitangent, gradientDirection(q, mapV)), 0.9999) << "triangle " << tri << " corner " << k;
        }
    }
}

TEST_F(SphereMesh, IndicesStayInRangeAndStartWithTheThirdCorner) {
    for (size_t i = 0; i < mesh->indices.size(); ++i) ASSERT_LT(mesh->indices[i], 96'000u) << "index " << i;
    EXPECT_EQ(mesh->indices[0], 2u);
    EXPECT_EQ(mesh->indices[1], 0u);
    EXPECT_EQ(mesh->indices[2], 1u);
}

// Every edge, keyed by the exact bits of its end points, is met once in each direction: the surface is closed,
// without cracks or T-joints, and all triangles wind the same way; with V - E + F = 2 it is one sphere.
TEST_F(SphereMesh, IsClosedAndConsistentlyOriented) {
    using key = std::array<float, 3>;
    auto keyOf = [](const mesh_vertex& v) { return key{v.position[0], v.position[1], v.position[2]}; };
    std::map<std::pair<key, key>, int> directed;
    std::set<key> points;
    for (size_t tri = 0; tri < triangles(); ++tri) {
        for (int k = 0; k < 3; ++k) {
            const key a = keyOf(corner(tri, k)), b = keyOf(corner(tri, (k + 1) % 3));
            ASSERT_NE(a, b) << "triangle " << tri;
            ++directed[{a, b}];
            points.insert(a);
        }
    }
    for (const auto& [edge, count] : directed) {
        ASSERT_EQ(count, 1);
        const auto reverse = directed.find({edge.second, edge.first});
        ASSERT_TRUE(reverse != directed.end() && reverse->second == 1);
    }
    const long edges = static_cast<long>(directed.size() / 2);
    EXPECT_EQ(static_cast<long>(points.size()) - edges + static_cast<long>(triangles()), 2);
}

// Row-vector transform of a point, w = 1.
std::array<double, 4> transform(vec3 p, const mat4& m) {
    std::array<double, 4> out{};
    for (int c = 0; c < 4; ++c) out[c] = p.x * m.at(0, c) + p.y * m.at(1, c) + p.z * m.at(2, c) + m.at(3, c);
    return out;
}

mat4 rows(std::array<std::array<float, 4>, 4> r) {
    mat4 m;
    for (int i = 0; i < 16; ++i) m[i] = r[i / 4][i % 4];
    return m;
}

// A camera as the scene capture builds it, looking at `target` from `distance`: camera space has x right,
// y down and z forward; the view is the inverse camera matrix with its first row scaled by 1 / the comp's
// pixel aspect and its z column negated; the window l, r, b, t has b > t (window y down).
struct camera_case {
    const char* name;
    qssdk::euler_angles angles;
    float pixelAspect;
    bool orthographic;
};

struct camera_matrices {
    mat4 view, projection;
    vec3 eye, forward;
};

camera_matrices hostCamera(const camera_case& cam, vec3 target, double distance) {
    camera_matrices out;
    mat4 camera = qssdk::mat4_from_quaternion(qssdk::quaternion_from_euler(cam.angles));
    out.forward = {camera.at(2, 0), camera.at(2, 1), camera.at(2, 2)};
    out.eye = target - distance * out.forward;
    camera.at(3, 0) = float(out.eye.x), camera.at(3, 1) = float(out.eye.y), camera.at(3, 2) = float(out.eye.z);
    out.view = qssdk::inverse(camera);
    for (int c = 0; c < 4; ++c) out.view.at(0, c) /= cam.pixelAspect;
    for (int r = 0; r < 4; ++r) out.view.at(r, 2) = -out.view.at(r, 2);
    if (cam.orthographic) {
        const float l = -3, r = 4, t = -2.5f, b = 3;
        out.projection = rows({{{2 / (r - l), 0, 0, 0},
                                {0, 2 / (b - t), 0, 0},
                                {0, 0, -4e-6f, 0},
                                {-(l + r) / (r - l), -(b + t) / (b - t), -0.99999994f, 1}}});
    } else {
        const float s = 0.01f / 1000;  // near plane over image-plane distance
        const float l = -500 * s, r = 540 * s, t = -400 * s, b = 380 * s;
        out.projection = rows({{{0.02f / (r - l), 0, 0, 0},
                                {0, 0.02f / (b - t), 0, 0},
                                {(l + r) / (r - l), (b + t) / (b - t), -1, -1},
                                {0, 0, -0.02f, 0}}});
    }
    return out;
}

TEST_F(SphereMesh, FacesTowardsTheCameraAreClockwiseInWindowCoordinatesAsGlCwCulling) {
    const camera_case cameras[] = {
        {"default camera", {0, 0, 0}, 1, false},
        {"turned camera", {0.4f, -1.2f, 0.3f}, 1, false},
        {"camera from below and behind", {-1.1f, 2.8f, -0.5f}, 0.9f, false},
        {"orthographic camera", {0.7f, 0.5f, 1.9f}, 1, true},
    };
    // The model matrix of a draw: scale, rotation, then translation.
    const vec3 center{0.5, -0.3, 0.2};
    mat4 model = rows({{{1.5f, 0, 0, 0}, {0, 1.5f, 0, 0}, {0, 0, 1.5f, 0}, {0, 0, 0, 1}}});
    model *= qssdk::mat4_from_quaternion(qssdk::quaternion_from_euler({0.3f, 1.0f, -0.6f}));
    model *= rows({{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {float(center.x), float(center.y), float(center.z), 1}}});

    for (const auto& cam : cameras) {
        const auto [view, projection, eye, forward] = hostCamera(cam, center, 6);
        const mat4 toClip = model * view * projection;

        int front = 0, back = 0;
        for (size_t tri = 0; tri < triangles(); ++tri) {
            std::array<double, 2> window[3];
            vec3 centroid;
            for (int k = 0; k < 3; ++k) {
                const vec3 p = v3(corner(tri, k).position);
                const auto clip = transform(p, toClip);
                ASSERT_GT(clip[3], 0) << cam.name;
                window[k] = {clip[0] / clip[3], clip[1] / clip[3]};
                const auto world = transform(p, model);
                centroid = centroid + (1.0 / 3) * vec3{world[0], world[1], world[2]};
            }
            // Signed area in GL's window orientation (x right, y up): positive is counter-clockwise.
            const double area = (window[1][0] - window[0][0]) * (window[2][1] - window[0][1]) -
                                (window[2][0] - window[0][0]) * (window[1][1] - window[0][1]);
            // The pixel-aspect scale makes the view see the sphere as an ellipsoid, x scaled by 1 / aspect, with
            // the eye where it was; its outward normal is the sphere's with x scaled by the aspect.
            const vec3 radial = normalize(centroid - center);
            const vec3 outward = normalize({radial.x * cam.pixelAspect, radial.y, radial.z});
            const vec3 seen{centroid.x / cam.pixelAspect, centroid.y, centroid.z};
            const vec3 towardsEye = cam.orthographic ? -1.0 * forward : normalize(eye - seen);
            const double facing = dot(outward, towardsEye);
            if (std::abs(facing) < 0.05) continue;  // at the silhouette
            if (facing > 0) {
                ++front;
                ASSERT_LT(area, 0) << cam.name << ": a face towards the camera is culled, triangle " << tri;
            } else {
                ++back;
                ASSERT_GT(area, 0) << cam.name << ": a face away from the camera is drawn, triangle " << tri;
            }
        }
        EXPECT_GT(front, 5000) << cam.name;
        EXPECT_GT(back, 5000) << cam.name;
    }
}

class SphereUpload : public GlTest {
protected:
    void TearDown() override {
        glDeleteBuffers(1, &model.vertex_buffer);
        glDeleteBuffers(1, &model.index_buffer);
        glDeleteVertexArrays(1, &model.vertex_array);
        GlTest::TearDown();
    }

    // The bytes of a buffer as GL holds them.
    static std::vector<unsigned char> contents(GLuint buffer) {
        glBindBuffer(GL_COPY_READ_BUFFER, buffer);
        GLint size = 0;
        glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
        GLint usage = 0;
        glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_USAGE, &usage);
        EXPECT_EQ(usage, GL_STATIC_DRAW);
        std::vector<unsigned char> bytes(size);
        glGetBufferSubData(GL_COPY_READ_BUFFER, 0, size, bytes.data());
        glBindBuffer(GL_COPY_READ_BUFFER, 0);
        return bytes;
    }

    const mesh_data mesh = inflateSphereMesh();
    model_ref model;
};

TEST_F(SphereUpload, MakesAVertexArrayWithBothBuffersAndTheFourAttributes) {
    model = uploadMesh(mesh);
    EXPECT_EQ(model.index_count, 96'000u);
    GLint bound = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    ASSERT_TRUE(glIsVertexArray(model.vertex_array));

    const std::vector<unsigned char> vertices = contents(model.vertex_buffer);
    ASSERT_EQ(vertices.size(), 6'144'000u);
    EXPECT_EQ(std::memcmp(vertices.data(), mesh.vertices.data(), vertices.size()), 0);
    const std::vector<unsigned char> indices = contents(model.index_buffer);
    ASSERT_EQ(indices.size(), 384'000u);
    EXPECT_EQ(std::memcmp(indices.data(), mesh.indices.data(), indices.size()), 0);

    glBindVertexArray(model.vertex_array);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), model.index_buffer) << "the vertex array keeps the index buffer";
    const struct {
        GLuint location;
        GLint size;
        uintptr_t offset;
    } attributes[] = {{0, 3, 0}, {1, 2, 16}, {2, 3, 32}, {3, 4, 48}};
    for (const auto& a : attributes) {
        GLint enabled = 0, size = 0, type = 0, normalized = 1, stride = 0, buffer = 0;
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &type);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &normalized);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        void* pointer = nullptr;
        glGetVertexAttribPointerv(a.location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
        EXPECT_EQ(enabled, GL_TRUE) << "location " << a.location;
        EXPECT_EQ(size, a.size) << "location " << a.location;
        EXPECT_EQ(type, GL_FLOAT) << "location " << a.location;
        EXPECT_EQ(normalized, GL_FALSE) << "location " << a.location;
        EXPECT_EQ(stride, 64) << "location " << a.location;
        EXPECT_EQ(static_cast<GLuint>(buffer), model.vertex_buffer) << "location " << a.location;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(pointer), a.offset) << "location " << a.location;
    }
    glBindVertexArray(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The GPU's own culling, set up as the renderer's draws are (glFrontFace(GL_CW), no depth test), through the
// default camera: culling back faces (Front) leaves the near half, culling front faces (Back) the far half,
// and the image is upright, the top pole on window row 0 that becomes the host image's top row.
TEST_F(SphereUpload, GlCwCullingShowsTheNearHalfAsFrontAndTheFarHalfAsBack) {
    model = uploadMesh(mesh);
    ProgramRegistry programs;
    const GLuint program = programs.compileProgram(R"(#version 330
layout(location = 0) in vec4 inPosition;
uniform mat4 viewMatrix;
uniform mat4 projMatrix;
out vec3 modelPosition;
void main() {
    gl_Position = projMatrix * viewMatrix * inPosition;
    modelPosition = inPosition.xyz;
})",
                                                   R"(#version 330
in vec3 modelPosition;
out vec4 outColor;
void main() { outColor = vec4(modelPosition, 1.0); })");
    const camera_matrices camera = hostCamera({"default camera", {0, 0, 0}, 1, false}, {}, 4);
    ASSERT_NEAR(camera.eye.z, -4, 1e-6);

    constexpr int size = 64;
    RenderTargetSet targets;
    const int extent[2] = {size, size};
    const GLuint framebuffer = targets.createFramebuffer();
    targets.attach(framebuffer, GL_COLOR_ATTACHMENT0, targets.createTexture(extent, 0));

    auto draw = [&](GLenum culled) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, size, size);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glFrontFace(GL_CW);
        glEnable(GL_CULL_FACE);
        glCullFace(culled);
        glUseProgram(program);
        glUniformMatrix4fv(glGetUniformLocation(program, "viewMatrix"), 1, GL_FALSE, camera.view.m);
        glUniformMatrix4fv(glGetUniformLocation(program, "projMatrix"), 1, GL_FALSE, camera.projection.m);
        glBindVertexArray(model.vertex_array);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model.index_count), GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        glUseProgram(0);
        std::vector<float> pixels(size * size * 4);
        glReadPixels(0, 0, size, size, GL_RGBA, GL_FLOAT, pixels.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return pixels;
    };

    const struct {
        const char* name;
        GLenum culled;
        double side;  // +1: the drawn surface faces the eye, -1: it faces away
    } surfaces[] = {{"Front", GL_BACK, 1}, {"Back", GL_FRONT, -1}};
    for (const auto& surface : surfaces) {
        const std::vector<float> pixels = draw(surface.culled);
        int covered = 0, topRow = size, bottomRow = -1;
        vec3 top, bottom, middle;
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                const float* px = &pixels[4 * (row * size + column)];
                if (px[3] == 0) continue;
                ++covered;
                const vec3 p = v3(px);
                // Away from the silhouette the drawn point faces the eye (Front) or turns away (Back).
                ASSERT_GT(surface.side * dot(normalize(p), normalize(camera.eye - p)), -0.05)
                    << surface.name << " row " << row << " column " << column;
                if (row < topRow) topRow = row, top = p;
                if (row > bottomRow) bottomRow = row, bottom = p;
                if (row == size / 2 && column == size / 2) middle = p;
            }
        }
        EXPECT_GT(covered, 600) << surface.name;
        EXPECT_NEAR(middle.z, -surface.side, 0.05) << surface.name << ": the point on the line of sight";
        EXPECT_LT(top.y, -0.9) << surface.name << ": window row 0 shows the top pole's side";
        EXPECT_GT(bottom.y, 0.9) << surface.name;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
