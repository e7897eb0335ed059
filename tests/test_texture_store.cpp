#include <gtest/gtest.h>

#include <GL/glew.h>

#include <set>
#include <vector>

#include "TextureStore.h"
#include "WatchedTest.h"

namespace {

using TextureStoreTest = GlTest;

std::set<GLuint> liveBuffers() {
    std::set<GLuint> names;
    for (GLuint name = 1; name < 256; ++name)
        if (glIsBuffer(name)) names.insert(name);
    return names;
}

GLint parameter(GLenum target, GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(target, name, &value);
    return value;
}

GLint levelParameter(GLenum target, GLint level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}

TEST_F(TextureStoreTest, ReadsTheDriversMaximumAnisotropy) {
    GLfloat driverMaximum = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &driverMaximum);
    const TextureStore store;
    EXPECT_GE(store.maxAnisotropy(), 1.0f) << "the driver here filters anisotropically";
    EXPECT_EQ(store.maxAnisotropy(), driverMaximum);
}

TEST_F(TextureStoreTest, UploadsFloatsAsAMipmappedHalfFloatTextureInTheirOwnChannelOrder) {
    const TextureStore store;
    const int size[2] = {4, 2};
    const std::vector<float> rgba = {1, 0, 0, 1,   0, 1, 0, 1,   0, 0, 1, 1,   0.25f, 0.5f, 0.75f, 0.5f,
                                     0, 0, 0, 0,   1, 1, 1, 1,   0.5f, 0, 0.25f, 1, 2, 3, 4, 5};
    const std::set<GLuint> buffersBefore = liveBuffers();
    const uint32_t texture = store.uploadFloatTexture(rgba.data(), size);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(liveBuffers(), buffersBefore) << "the upload buffer is deleted";
    GLint unpack = -1, bound = -1;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(unpack, 0);
    EXPECT_EQ(bound, 0);

    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA16F);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
    GLfloat anisotropy = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    EXPECT_EQ(anisotropy, store.maxAnisotropy());

    std::vector<float> stored(rgba.size());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, stored.data());
    for (size_t k = 0; k < rgba.size(); ++k)
        EXPECT_NEAR(stored[k], rgba[k], 1e-3) << "texel " << k / 4 << " channel " << k % 4;
    // The mipmaps are made: the last level is the mean of all texels.
    ASSERT_EQ(levelParameter(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH), 1);
    float last[4] = {};
    glGetTexImage(GL_TEXTURE_2D, 2, GL_RGBA, GL_FLOAT, last);
    for (int c = 0; c < 4; ++c) {
        float mean = 0;
        for (int t = 0; t < 8; ++t) mean += rgba[t * 4 + c] / 8;
        EXPECT_NEAR(last[c], mean, 2e-3) << c;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureStoreTest, AnUploadBufferThatCannotBeMappedGivesNoTextureAndLeavesNoBuffer) {
    const TextureStore store;
    const int empty[2] = {0, 0};
    const float none[4] = {};
    const std::set<GLuint> buffersBefore = liveBuffers();
    EXPECT_EQ(store.uploadFloatTexture(none, empty), 0u);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(liveBuffers(), buffersBefore);
    GLint unpack = -1;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
    EXPECT_EQ(unpack, 0);
}

TEST_F(TextureStoreTest, CreatesFlatOrArrayTexturesOfOneOrFourChannelsFromTheUnpackBuffer) {
    const TextureStore store;
    const int size[2] = {2, 2};
    // Four channels come in the order blue, green, red, alpha.
    const std::vector<float> bgra = {0.75f, 0.5f, 0.25f, 1, 0, 0, 1, 0.5f, 1, 0, 0, 0, 0.125f, 0.25f, 0.375f, 0.5f};
    const std::vector<float> rgba = {0.25f, 0.5f, 0.75f, 1, 1, 0, 0, 0.5f, 0, 0, 1, 0, 0.375f, 0.25f, 0.125f, 0.5f};
    const std::vector<float> red = {0.25f, 0.5f, 0.75f, 1};
    const struct {
        bool array, singleChannel;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "array " << c.array << " single channel " << c.singleChannel);
        const std::vector<float>& source = c.singleChannel ? red : bgra;
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_UNPACK_BUFFER, static_cast<GLsizeiptr>(source.size() * sizeof(float)), source.data(),
                     GL_STREAM_DRAW);
        const uint32_t texture = store.createFloatTexture(size, c.array, c.singleChannel);
        GLint unpack = -1;
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
        EXPECT_EQ(unpack, 0);
        glDeleteBuffers(1, &buffer);

        const GLenum target = c.array ? GL_TEXTURE_2D_ARRAY : GL_TEXTURE_2D;
        glBindTexture(target, texture);
        EXPECT_EQ(levelParameter(target, 0, GL_TEXTURE_INTERNAL_FORMAT), c.singleChannel ? GL_R16F : GL_RGBA16F);
        EXPECT_EQ(levelParameter(target, 0, GL_TEXTURE_DEPTH), 1);
        EXPECT_EQ(parameter(target, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(parameter(target, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(parameter(target, GL_TEXTURE_WRAP_T), GL_REPEAT);
        if (c.array) {
            EXPECT_EQ(parameter(target, GL_TEXTURE_WRAP_R), GL_REPEAT);
        }
        EXPECT_EQ(levelParameter(target, 1, GL_TEXTURE_WIDTH), 1) << "mipmapped";

        std::vector<float> stored(16, -1);
        glGetTexImage(target, 0, GL_RGBA, GL_FLOAT, stored.data());
        for (int t = 0; t < 4; ++t) {
            if (c.singleChannel) {
                EXPECT_NEAR(stored[t * 4], red[t], 1e-3) << t;
                EXPECT_EQ(stored[t * 4 + 3], 1.0f) << t;
            } else {
                for (int k = 0; k < 4; ++k) EXPECT_NEAR(stored[t * 4 + k], rgba[t * 4 + k], 1e-3) << t << " " << k;
            }
        }
        glBindTexture(target, 0);
        glDeleteTextures(1, &texture);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
