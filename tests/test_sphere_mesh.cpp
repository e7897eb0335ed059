#include <gtest/gtest.h>

#include <zlib.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "SphereMesh.h"
#include "SphereMeshData.h"
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

// The camera as the scene capture builds it: the view is the inverse camera matrix with its first row scaled
// by 1 / the comp's pixel aspect and its z column negated; the window l, r, b, t has b > t (window y down).
TEST_F(SphereMesh, FacesTowardsTheCameraAreClockwiseInWindowCoordinatesAsGlCwCulling) {
    const struct {
        const char* name;
        qssdk::euler_angles cameraAngles;
        float pixelAspect;
        bool orthographic;
    } cameras[] = {
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
        // Camera space: x right, y down, z forward; the camera looks at the model from 6 units.
        mat4 camera = qssdk::mat4_from_quaternion(qssdk::quaternion_from_euler(cam.cameraAngles));
        const vec3 forward{camera.at(2, 0), camera.at(2, 1), camera.at(2, 2)};
        const vec3 eye = center - 6.0 * forward;
        camera.at(3, 0) = float(eye.x), camera.at(3, 1) = float(eye.y), camera.at(3, 2) = float(eye.z);
        mat4 view = qssdk::inverse(camera);
        for (int c = 0; c < 4; ++c) view.at(0, c) /= cam.pixelAspect;
        for (int r = 0; r < 4; ++r) view.at(r, 2) = -view.at(r, 2);

        mat4 projection;
        if (cam.orthographic) {
            const float l = -3, r = 4, t = -2.5f, b = 3;
            projection = rows({{{2 / (r - l), 0, 0, 0},
                                {0, 2 / (b - t), 0, 0},
                                {0, 0, -4e-6f, 0},
                                {-(l + r) / (r - l), -(b + t) / (b - t), -0.99999994f, 1}}});
        } else {
            const float s = 0.01f / 1000;  // near plane over image-plane distance
            const float l = -500 * s, r = 540 * s, t = -400 * s, b = 380 * s;
            projection = rows({{{0.02f / (r - l), 0, 0, 0},
                                {0, 0.02f / (b - t), 0, 0},
                                {(l + r) / (r - l), (b + t) / (b - t), -1, -1},
                                {0, 0, -0.02f, 0}}});
        }
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

}  // namespace
