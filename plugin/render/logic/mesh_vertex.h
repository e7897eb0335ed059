// One vertex of a drawn mesh as its vertex buffer holds it (64 bytes of little-endian floats), and the size of
// the built-in sphere. Shared by the plug-in and the build-time sphere generator.
#pragma once

#include <cstdint>

struct mesh_vertex {
    float position[3];  // attribute 0 (w = 1)
    float unused0;
    float uv[2];  // attribute 1
    float unused1[2];
    float normal[3];  // attribute 2
    float unused2;
    float tangent[4];  // attribute 3: xyz along increasing u, w the handedness (+1 or -1)
};
static_assert(sizeof(mesh_vertex) == 64);

// 32,000 triangles, each with its own three vertices.
constexpr uint32_t sphereVertexCount = 96000;
constexpr uint32_t sphereIndexCount = 96000;
