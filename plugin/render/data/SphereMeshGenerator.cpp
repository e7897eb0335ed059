// Build-time generator of the plug-in's sphere mesh. Runs on the build machine and writes the vertex and
// index streams as zlib streams, which the plug-in embeds and inflates at set-up.
//   usage: SphereMeshGenerator VERTICES_OUT INDICES_OUT
//
// The unit sphere is a latitude-longitude grid cut along the surface program's spherical mapping
//   u = 0.5 - atan2(-x, -z) / 2pi,  v = atan2(y, |xz|) / pi + 0.5
// (world y points down, so v = 0 is the top pole y = -1 and an image lies upright on the sphere; u = 0.5 faces
// a camera on the -z side and u grows to its right, +x). There are 128 meridians, the seam (u = 0 and 1) on
// +z, and 126 latitude bands, an even number so that the equator is a ring and the hemisphere's cut runs along
// edges. The two polar bands are fans of one triangle per meridian, the others two triangles per cell:
// 2 x 128 + 2 x 128 x 124 = 32,000 triangles. Every triangle has its own three vertices (96,000), so that the
// triangles beside the seam and at the poles carry the u and the tangent of their own cell; positions shared
// between triangles come from one function of the grid point and are equal bit for bit, so the surface is
// closed without cracks.
//
// Tangent frame: the tangent is the unit direction of increasing u, (-cos 2pi u, 0, -sin 2pi u); at a pole,
// where u is undefined, the vertex takes its cell's middle meridian, the limit along that cell. The
// handedness w is -1 everywhere: w x cross(normal, tangent) then points along increasing v (down the image),
// which makes (tangent, w x cross(normal, tangent), normal) the surface's (du, dv, outward) frame.
//
// Winding: the renderer culls with glFrontFace(GL_CW), so a triangle is a front face when its corners run
// clockwise in GL's window coordinates. The view matrix is the host camera's inverse (with a positive scale of
// x for the pixel aspect) and its z column negated, so view space is the camera's own space c (x right, y down,
// z forward) with z flipped, and the perspective's w_clip = -z_view = c.z. Both projections then give window x
// and y as positive multiples of c.x / c.z and c.y / c.z (orthographic: of c.x and c.y) plus offsets; the y
// row's factor 0.02 / (b - t) is positive because b > t. So the window keeps the orientation of the camera's
// (x, y) plane, and the signed window area of three points in front of the camera has the sign of
// det(c0, c1, c2) = c0 . n, n = (c1 - c0) x (c2 - c0) (orthographic: of n.z). It is negative, a front face,
// exactly when n points back towards the eye; world to camera keeps orientation, so the same holds for the
// world's (p1 - p0) x (p2 - p0). Hence every triangle is ordered so that (p1 - p0) x (p2 - p0) points out of
// the sphere: the half facing the camera is front (drawn by Front and by All's second pass), the far half back
// (drawn by Back and by All's first pass). Window row 0 becomes the host image's top row, so the host image
// shows the window flipped vertically and front faces there run counter-clockwise. With e_v and e_u the
// directions of increasing v and u, outward = e_v x e_u, so a cell's corners A (top left), B (top right),
// C (bottom left), D (bottom right), top meaning smaller v and left smaller u, give the triangles (A, C, B) and
// (B, C, D).
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "../logic/mesh_vertex.h"

namespace {

constexpr int meridians = 128;
constexpr int bands = 126;
constexpr double pi = 3.14159265358979323846;
static_assert(bands % 2 == 0, "the equator must be a ring");
static_assert(2 * meridians * (bands - 1) * 3 == sphereVertexCount && sphereIndexCount == sphereVertexCount);

struct point {
    float x, y, z;
};

// Ring i (0 = top pole .. bands = bottom pole), meridian j (meridians wraps to 0).
point gridPoint(int i, int j) {
    if (i == 0) return {0, -1, 0};
    if (i == bands) return {0, 1, 0};
    const double latitude = pi * (2 * i - bands) / (2.0 * bands);  // exactly 0 at the equator
    const double longitude = 2 * pi * (j % meridians) / meridians;
    const double ring = std::cos(latitude);
    return {static_cast<float>(-ring * std::sin(longitude)), static_cast<float>(std::sin(latitude)),
            static_cast<float>(ring * std::cos(longitude))};
}

// The corner at grid point (i, j) of a triangle in the cell column `cell`.
mesh_vertex corner(int i, int j, int cell) {
    const bool pole = i == 0 || i == bands;
    const double u = pole ? (cell + 0.5) / meridians : static_cast<double>(j) / meridians;
    const point p = gridPoint(i, j);
    mesh_vertex v{};
    v.position[0] = v.normal[0] = p.x;  // a unit sphere's outward normal is its position
    v.position[1] = v.normal[1] = p.y;
    v.position[2] = v.normal[2] = p.z;
    v.uv[0] = static_cast<float>(u);
    v.uv[1] = static_cast<float>(static_cast<double>(i) / bands);
    v.tangent[0] = static_cast<float>(-std::cos(2 * pi * u));
    v.tangent[1] = 0;
    v.tangent[2] = static_cast<float>(-std::sin(2 * pi * u));
    v.tangent[3] = -1;
    return v;
}

bool writeCompressed(const char* path, const void* data, size_t size) {
    uLongf capacity = compressBound(size);
    std::vector<Bytef> out(capacity);
    if (compress2(out.data(), &capacity, static_cast<const Bytef*>(data), size, Z_BEST_COMPRESSION) != Z_OK) {
        std::fprintf(stderr, "SphereMeshGenerator: compressing %s failed\n", path);
        return false;
    }
    std::FILE* file = std::fopen(path, "wb");
    const bool written = file && std::fwrite(out.data(), 1, capacity, file) == capacity;
    if (file && std::fclose(file) != 0) return false;
    if (!written) std::fprintf(stderr, "SphereMeshGenerator: writing %s failed\n", path);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: SphereMeshGenerator VERTICES_OUT INDICES_OUT\n");
        return 2;
    }
    std::vector<mesh_vertex> vertices;
    vertices.reserve(sphereVertexCount);
    for (int i = 0; i < bands; ++i) {
        for (int j = 0; j < meridians; ++j) {
            // A cell of the top band has A = B at the pole, one of the bottom band C = D: each keeps one triangle.
            if (i != 0) vertices.insert(vertices.end(), {corner(i, j, j), corner(i + 1, j, j), corner(i, j + 1, j)});
            if (i != bands - 1)
                vertices.insert(vertices.end(), {corner(i, j + 1, j), corner(i + 1, j, j), corner(i + 1, j + 1, j)});
        }
    }
    // The index stream lists each triangle from its third corner (2, 0, 1, 5, 3, 4, ...): a rotation, which
    // keeps the winding.
    std::vector<uint32_t> indices;
    indices.reserve(sphereIndexCount);
    for (uint32_t first = 0; first < vertices.size(); first += 3) indices.insert(indices.end(), {first + 2, first, first + 1});
    if (vertices.size() != sphereVertexCount || indices.size() != sphereIndexCount) {
        std::fprintf(stderr, "SphereMeshGenerator: made %zu vertices and %zu indices\n", vertices.size(), indices.size());
        return 1;
    }
    // The build machine is little-endian (x86-64), as the stored format is.
    const bool ok = writeCompressed(argv[1], vertices.data(), vertices.size() * sizeof(mesh_vertex)) &&
                    writeCompressed(argv[2], indices.data(), indices.size() * sizeof(uint32_t));
    return ok ? 0 : 1;
}
