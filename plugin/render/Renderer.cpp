#include "Renderer.h"

#include <GL/glew.h>

#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

#include "ShaderSources.h"
#include "UniformBlocks.h"

namespace {

std::string_view text(std::span<const unsigned char> file) {
    return {reinterpret_cast<const char*>(file.data()), file.size()};
}

void setSamplers(GLuint program, std::initializer_list<std::pair<const char*, GLint>> units) {
    glUseProgram(program);
    for (const auto& [name, unit] : units) glUniform1i(glGetUniformLocation(program, name), unit);
    glUseProgram(0);
}

GLuint makeUniformBuffer(GLsizeiptr size) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    glBufferData(GL_UNIFORM_BUFFER, size, nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    return buffer;
}

}  // namespace

Renderer::Renderer() {
    // The members above are made; if a later step throws, their destructors run, and release() takes
    // back what the steps below made.
    try {
        transformMatricesBuffer_ = makeUniformBuffer(sizeof(TransformMatricesBlock));
        lightsBuffer_ = makeUniformBuffer(sizeof(LightsBlock));

        static constexpr float quad[] = {0, 0, 1, 0, 0, 1, 1, 1};
        glGenVertexArrays(1, &quadVertexArray_);
        glBindVertexArray(quadVertexArray_);
        glGenBuffers(1, &quadVertexBuffer_);
        glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer_);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr);
        glEnableVertexAttribArray(0);
        glBindVertexArray(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);

        const std::string_view quadVertex = text(shader_sources::quad_vert);
        copyProgram_ = programs_.compileProgram(quadVertex, text(shader_sources::copy_frag));
        setSamplers(copyProgram_, {{"textureSampler", 0}});
        heightToNormalProgram_ = programs_.compileProgram(quadVertex, text(shader_sources::height_to_normal_frag));
        setSamplers(heightToNormalProgram_, {{"textureSampler", 0}});
        equirectProgram_ = programs_.compileProgram(quadVertex, text(shader_sources::equirect_frag));
        setSamplers(equirectProgram_, {{"textureSampler", 0}});
        prefilterProgram_ = programs_.compileProgram(quadVertex, text(shader_sources::prefilter_frag));
        setSamplers(prefilterProgram_, {{"textureSampler", 0}, {"samplesSampler", 1}});
#ifdef QS_SURFACE_SHADERS
        surfaceProgram_ =
            programs_.compileProgram(text(shader_sources::surface_vert), text(shader_sources::surface_frag));
        glUniformBlockBinding(surfaceProgram_, glGetUniformBlockIndex(surfaceProgram_, "TransformMatrices"), 0);
        glUniformBlockBinding(surfaceProgram_, glGetUniformBlockIndex(surfaceProgram_, "Lights"), 1);
        setSamplers(surfaceProgram_, {{"diffuseSampler", 0},
                                      {"glossinessSampler", 1},
                                      {"illuminationSampler", 2},
                                      {"normalSampler", 3},
                                      {"environmentSampler", 4}});
#endif

        glDepthMask(GL_FALSE);
        glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
        if (GLEW_ARB_sample_shading) {
            glEnable(GL_SAMPLE_SHADING);
            glMinSampleShading(1.0f);
        }
    } catch (...) {
        release();
        throw;
    }
}

Renderer::~Renderer() { release(); }

void Renderer::release() {
    glDeleteBuffers(1, &transformMatricesBuffer_);
    glDeleteBuffers(1, &lightsBuffer_);
    glDeleteBuffers(1, &quadVertexBuffer_);
    glDeleteVertexArrays(1, &quadVertexArray_);
    transformMatricesBuffer_ = lightsBuffer_ = quadVertexBuffer_ = quadVertexArray_ = 0;
}

void Renderer::beginFrame(unsigned sampleCount, const render_data& frame) {
    frame_ = frame;
    sampleCount_ = sampleCount;
    glContext_.makeCurrent();
    prepareTargets();
}

void Renderer::prepareTargets() {
    const pixel_buffer& output = frame_.output;
    const uint32_t bufferBytes = output.row_bytes * output.height;
    const int32_t width = static_cast<int32_t>(output.width);
    const int32_t height = static_cast<int32_t>(output.height);
    const bool sizeChanged = width != targets_.width || height != targets_.height || sampleCount_ != targets_.samples;
    if (bufferBytes == targets_.bufferBytes && !sizeChanged) return;

    // To come with OpenCL: release the shared image of the accumulation texture here.
    if (sizeChanged) {
        targets_ = frame_targets{};
        targets_.width = width;
        targets_.height = height;
        targets_.samples = sampleCount_;
        renderTargetSet_.deleteAll();
        const int size[2] = {width, height};
        const int samples = static_cast<int>(sampleCount_);

        targets_.accumulationFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.accumulation = renderTargetSet_.createTexture(size, 0);
        renderTargetSet_.attach(targets_.accumulationFramebuffer, GL_COLOR_ATTACHMENT0, targets_.accumulation);

        targets_.sampleFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.sampleColor = renderTargetSet_.createTexture(size, samples);
        targets_.sampleDepth = renderTargetSet_.createDepthBuffer(size, samples);
        renderTargetSet_.attach(targets_.sampleFramebuffer, GL_COLOR_ATTACHMENT0, targets_.sampleColor);
        renderTargetSet_.attach(targets_.sampleFramebuffer, GL_DEPTH_ATTACHMENT, targets_.sampleDepth);

        targets_.resolveFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.resolve = renderTargetSet_.createTexture(size, 0);
        renderTargetSet_.attach(targets_.resolveFramebuffer, GL_COLOR_ATTACHMENT0, targets_.resolve);
    }
    targets_.bufferBytes = bufferBytes;
    // To come with OpenCL: release the output buffer, share the accumulation texture as an image, make a
    // new output buffer of bufferBytes and set the output kernels' arguments here.
}

void Renderer::deleteTexture(unsigned texture) { glDeleteTextures(1, &texture); }
