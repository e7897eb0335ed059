#include "TextureStore.h"

#include <cstddef>

#include "GlName.h"

TextureStore::TextureStore() {
    if (GLEW_EXT_texture_filter_anisotropic) glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy_);
}

void TextureStore::applyMaxAnisotropy(GLenum target) const {
    // Below 1 the driver refuses the value; 0 means there is no such setting.
    if (maxAnisotropy_ != 0) glTexParameterf(target, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy_);
}

uint32_t TextureStore::uploadFloatTexture(const float* rgba, const int size[2]) const {
    const size_t texels = static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]);
    GlName buffer = gl_names::newBuffer();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer.get());
    glBufferData(GL_PIXEL_UNPACK_BUFFER, static_cast<GLsizeiptr>(texels * 16), nullptr, GL_STREAM_DRAW);
    auto* mapped = static_cast<float*>(glMapBuffer(GL_PIXEL_UNPACK_BUFFER, GL_WRITE_ONLY));
    if (mapped == nullptr) {
        buffer.reset();
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        return 0;
    }
    // createFloatTexture reads four channels as blue, green, red, alpha.
    for (size_t i = 0; i < texels; ++i) {
        const float* from = rgba + i * 4;
        float* to = mapped + i * 4;
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
        to[3] = from[3];
    }
    glUnmapBuffer(GL_PIXEL_UNPACK_BUFFER);
    const uint32_t texture = createFloatTexture(size, false, false);
    buffer.reset();
    return texture;
}

uint32_t TextureStore::createFloatTexture(const int size[2], bool array, bool singleChannel) const {
    const GLenum target = array ? GL_TEXTURE_2D_ARRAY : GL_TEXTURE_2D;
    const GLint internalFormat = singleChannel ? GL_R16F : GL_RGBA16F;
    const GLenum format = singleChannel ? GL_RED : GL_BGRA;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(target, texture);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (array) glTexParameteri(target, GL_TEXTURE_WRAP_R, GL_REPEAT);
    applyMaxAnisotropy(target);
    if (array)
        glTexImage3D(target, 0, internalFormat, size[0], size[1], 1, 0, format, GL_FLOAT, nullptr);
    else
        glTexImage2D(target, 0, internalFormat, size[0], size[1], 0, format, GL_FLOAT, nullptr);
    glGenerateMipmap(target);
    glBindTexture(target, 0);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    return texture;
}
