// Makes the renderer's float textures from memory or from the bound pixel-unpack buffer, with the
// driver's maximum anisotropy, read once when the store is made (the GL context must be current).
#pragma once

#include <GL/glew.h>

#include <cstdint>

class TextureStore {
public:
    TextureStore();

    // 0 when the driver has no anisotropic filtering.
    float maxAnisotropy() const { return maxAnisotropy_; }
    // Sets the bound texture's anisotropy to the maximum, when there is one.
    void applyMaxAnisotropy(GLenum target) const;

    // A mipmapped RGBA16F texture of width x height texels of 4 floats (red, green, blue, alpha), rows as
    // they lie in memory; 0 when the upload buffer cannot be mapped.
    uint32_t uploadFloatTexture(const float* rgba, const int size[2]) const;
    // A mipmapped texture from the bound GL_PIXEL_UNPACK_BUFFER: a one-layer GL_TEXTURE_2D_ARRAY when
    // `array`, else GL_TEXTURE_2D; R16F from one float per texel when `singleChannel`, else RGBA16F from
    // four floats per texel in the order blue, green, red, alpha. Unbinds the texture and the buffer.
    uint32_t createFloatTexture(const int size[2], bool array, bool singleChannel) const;

private:
    float maxAnisotropy_ = 0;
};
