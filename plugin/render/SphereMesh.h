// The built-in sphere: its two zlib streams inflated on the calling thread, and a mesh upload into GL that the
// renderer thread runs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mesh_vertex.h"
#include "render_records.h"

struct mesh_data {
    std::vector<mesh_vertex> vertices;
    std::vector<uint32_t> indices;  // triangles
};

// Inflates the embedded sphere: sphereVertexCount vertices and sphereIndexCount indices. Throws qs_exception
// when a stream does not inflate to exactly that size.
mesh_data inflateSphereMesh();

// Inflates one zlib stream into `out`, which it must fill exactly; else throws qs_exception
// "unable to inflate the <what>".
void inflateStream(std::span<const unsigned char> compressed, std::span<std::byte> out, const char* what);

// Makes the vertex array with its vertex and index buffers (GL_STATIC_DRAW) and the four attributes of
// mesh_vertex at locations 0-3; leaves no vertex array bound. Needs a current GL context: the renderer thread.
model_ref uploadMesh(const mesh_data& mesh);
