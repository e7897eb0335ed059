#include "SphereMesh.h"

#include <GL/glew.h>
#include <zlib.h>

#include <cstddef>

#include "SphereMeshData.h"
#include "format_string.h"
#include "qs_exception.h"

void inflateStream(std::span<const unsigned char> compressed, std::span<std::byte> out, const char* what) {
    uLongf size = static_cast<uLongf>(out.size());
    const int result = uncompress(reinterpret_cast<Bytef*>(out.data()), &size, compressed.data(),
                                  static_cast<uLong>(compressed.size()));
    // A stream that stops short would leave the rest zero: a mesh with holes drawn as if whole.
    if (result != Z_OK || size != out.size()) throw qs_exception(qssdk::format_string("unable to inflate the %s", what));
}

mesh_data inflateSphereMesh() {
    mesh_data mesh{std::vector<mesh_vertex>(sphereVertexCount), std::vector<uint32_t>(sphereIndexCount)};
    inflateStream(sphere_mesh_data::sphere_vertices_z, std::as_writable_bytes(std::span(mesh.vertices)),
                  "sphere mesh vertices");
    inflateStream(sphere_mesh_data::sphere_indices_z, std::as_writable_bytes(std::span(mesh.indices)),
                  "sphere mesh indices");
    return mesh;
}

namespace {

void floatAttribute(GLuint location, GLint components, size_t offset) {
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, sizeof(mesh_vertex),
                          reinterpret_cast<const void*>(offset));
    glEnableVertexAttribArray(location);
}

}  // namespace

model_ref uploadMesh(const mesh_data& mesh) {
    model_ref model;
    glGenVertexArrays(1, &model.vertex_array);
    glBindVertexArray(model.vertex_array);

    glGenBuffers(1, &model.vertex_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, model.vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(mesh_vertex)),
                 mesh.vertices.data(), GL_STATIC_DRAW);
    floatAttribute(0, 3, offsetof(mesh_vertex, position));
    floatAttribute(1, 2, offsetof(mesh_vertex, uv));
    floatAttribute(2, 3, offsetof(mesh_vertex, normal));
    floatAttribute(3, 4, offsetof(mesh_vertex, tangent));

    // The vertex array keeps this binding.
    glGenBuffers(1, &model.index_buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, model.index_buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.indices.size() * sizeof(uint32_t)),
                 mesh.indices.data(), GL_STATIC_DRAW);

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    model.index_count = static_cast<uint32_t>(mesh.indices.size());
    return model;
}
