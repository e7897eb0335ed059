#include "EnvironmentPasses.h"

#include <GL/glew.h>

#include <bit>
#include <vector>

#include "GlName.h"
#include "SamplePointTable.h"
#include "TextureStore.h"

namespace environment_passes {

namespace {

// The sampling direction of a face texel at quad coordinates (u, v) is initial + u incX + v incY; face
// i is GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, in GL's own orientation of the faces.
struct face_vectors {
    float initial[3], incX[3], incY[3];
};

constexpr face_vectors faces[6] = {
    {{0.5f, 0.5f, 0.5f}, {0, 0, -1}, {0, -1, 0}},     // +X
    {{-0.5f, 0.5f, -0.5f}, {0, 0, 1}, {0, -1, 0}},    // -X
    {{-0.5f, 0.5f, -0.5f}, {1, 0, 0}, {0, 0, 1}},     // +Y
    {{-0.5f, -0.5f, 0.5f}, {1, 0, 0}, {0, 0, -1}},    // -Y
    {{-0.5f, 0.5f, 0.5f}, {1, 0, 0}, {0, -1, 0}},     // +Z
    {{0.5f, 0.5f, -0.5f}, {-1, 0, 0}, {0, -1, 0}},    // -Z
};

GLenum faceTarget(int face) { return GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face); }

void setFaceVectors(GLuint program, const face_vectors& face) {
    glUniform3fv(glGetUniformLocation(program, "initialCoord"), 1, face.initial);
    glUniform3fv(glGetUniformLocation(program, "coordIncX"), 1, face.incX);
    glUniform3fv(glGetUniformLocation(program, "coordIncY"), 1, face.incY);
}

void drawQuad() { glDrawArrays(GL_TRIANGLE_STRIP, 0, 4); }

}  // namespace

uint32_t createSamplePointTexture() {
    const std::vector<float> table = sample_points::makeTable();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, sample_points::columns, sample_points::rows, 0, GL_RGBA, GL_FLOAT,
                 table.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

uint32_t buildEnvironmentMap(const pass_objects& objects, uint32_t equirectTexture) {
    if (equirectTexture == 0) return 0;
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_CULL_FACE);

    GLuint cube = 0;
    glGenTextures(1, &cube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (int face = 0; face < 6; ++face)
        glTexImage2D(faceTarget(face), 0, GL_RGBA16F, cubeSize, cubeSize, 0, GL_RGBA, GL_FLOAT, nullptr);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);

    GlName framebuffer = gl_names::newFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
    glUseProgram(objects.equirectProgram);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, equirectTexture);
    glBindVertexArray(objects.quadVertexArray);
    for (int face = 0; face < 6; ++face) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, faceTarget(face), cube, 0);
        glViewport(0, 0, cubeSize, cubeSize);
        setFaceVectors(objects.equirectProgram, faces[face]);
        drawQuad();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    framebuffer.reset();

    const int size[2] = {cubeSize, cubeSize};
    prefilterEnvironmentMap(objects, cube, size);
    return cube;
}

void prefilterEnvironmentMap(const pass_objects& objects, uint32_t cube, const int size[2]) {
    GlName framebuffer = gl_names::newFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
    const GLuint program = objects.prefilterProgram;
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, objects.samplePointTexture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glBindVertexArray(objects.quadVertexArray);

    // The whole chain down to 1 x 1 is allocated; only levels 1..roughnessLevels are drawn.
    const int levelCount = std::bit_width(static_cast<unsigned>(size[0])) - 1;
    for (int level = 1; level <= levelCount; ++level)
        for (int face = 0; face < 6; ++face)
            glTexImage2D(faceTarget(face), level, GL_RGBA16F, size[0] >> level, size[1] >> level, 0, GL_RGBA, GL_FLOAT,
                         nullptr);

    glUniform1ui(glGetUniformLocation(program, "numSamples"), sample_points::columns);
    for (int level = 1; level <= roughnessLevels; ++level) {
        glUniform1f(glGetUniformLocation(program, "sampleLod"), static_cast<float>(level - 1));
        glUniform1ui(glGetUniformLocation(program, "roughnessLayer"), static_cast<GLuint>(level - 1));
        for (int face = 0; face < 6; ++face) {
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, faceTarget(face), cube, level);
            setFaceVectors(program, faces[face]);
            glViewport(0, 0, size[0] >> level, size[1] >> level);
            drawQuad();
        }
        // The next level samples the levels made so far, and never the one it is drawn into.
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, level);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    framebuffer.reset();
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
    glBindVertexArray(0);
}

uint32_t buildNormalMap(const pass_objects& objects, const TextureStore& store, uint32_t heightTexture,
                        const int size[2], float downsampleX, float downsampleY) {
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_CULL_FACE);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, size[0], size[1], 0, GL_RGBA, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    store.applyMaxAnisotropy(GL_TEXTURE_2D);

    GlName framebuffer = gl_names::newFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glViewport(0, 0, size[0], size[1]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, heightTexture);
    const GLuint program = objects.heightToNormalProgram;
    glUseProgram(program);
    glUniform2f(glGetUniformLocation(program, "pixelSize"), 1.0f / static_cast<float>(size[0]),
                1.0f / static_cast<float>(size[1]));
    glUniform2f(glGetUniformLocation(program, "scaleFactor"), 1.0f / downsampleX, 1.0f / downsampleY);
    glBindVertexArray(objects.quadVertexArray);
    drawQuad();
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    framebuffer.reset();

    glBindTexture(GL_TEXTURE_2D, texture);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    return texture;
}

}  // namespace environment_passes
