#include "Renderer.h"

#include <GL/glew.h>

#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

#include "OpenClLayerUpload.h"
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

GlName makeUniformBuffer(GLsizeiptr size) {
    GlName buffer = gl_names::newBuffer();
    glBindBuffer(GL_UNIFORM_BUFFER, buffer.get());
    glBufferData(GL_UNIFORM_BUFFER, size, nullptr, GL_DYNAMIC_DRAW);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
    return buffer;
}

void uploadUniformBlock(GLuint buffer, const void* image, GLsizeiptr size) {
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, size, image);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

qssdk::mat4 transposed(const qssdk::mat4& m) {
    qssdk::mat4 t;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) t.at(column, row) = m.at(row, column);
    return t;
}

// The inverse transpose of the model matrix without its translation: normals stay at right angles to
// the surface under any scale.
qssdk::mat4 normalMatrixOf(qssdk::mat4 model) {
    model[12] = model[13] = model[14] = 0;
    return transposed(qssdk::inverse(model));
}

// The surface program's uniforms, looked up by name on every draw.
class SurfaceUniforms {
public:
    explicit SurfaceUniforms(GLuint program) : program_(program) {}

    void set(const char* name, int value) const { glUniform1i(location(name), value); }
    void set(const char* name, float value) const { glUniform1f(location(name), value); }
    void set(const char* name, const vec2& value) const { glUniform2f(location(name), value.x, value.y); }
    void set(const char* name, const vec4& value) const {
        glUniform4f(location(name), value.x, value.y, value.z, value.w);
    }
    void set(const char* name, const qssdk::mat4& value) const {
        glUniformMatrix4fv(location(name), 1, GL_FALSE, value.m);
    }
    void setVec3(const char* name, const vec4& value) const { glUniform3f(location(name), value.x, value.y, value.z); }
    // A map is switched on by any non-zero texture name.
    void setTexture(const char* name, uint32_t texture) const { set(name, static_cast<int>(texture)); }

private:
    GLint location(const char* name) const { return glGetUniformLocation(program_, name); }
    GLuint program_;
};

void bindMap(GLenum unit, uint32_t texture, GLint wrap) {
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (texture == 0) return;  // an absent map: nothing bound whose wrap could be set
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

}  // namespace

Renderer::Renderer()
    : openCl_(currentGlContext()), clObjects_(openCl_.cl()), clOutput_(openCl_) {
    // If a step throws, the destructors of the members made so far take everything back.
    transformMatricesBuffer_ = makeUniformBuffer(sizeof(TransformMatricesBlock));
    lightsBuffer_ = makeUniformBuffer(sizeof(LightsBlock));

    static constexpr float quad[] = {0, 0, 1, 0, 0, 1, 1, 1};
    quadVertexArray_ = gl_names::newVertexArray();
    glBindVertexArray(quadVertexArray_.get());
    quadVertexBuffer_ = gl_names::newBuffer();
    glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer_.get());
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
    surfaceProgram_ =
        programs_.compileProgram(text(shader_sources::surface_vert), text(shader_sources::surface_frag));
    glUniformBlockBinding(surfaceProgram_, glGetUniformBlockIndex(surfaceProgram_, "TransformMatrices"), 0);
    glUniformBlockBinding(surfaceProgram_, glGetUniformBlockIndex(surfaceProgram_, "Lights"), 1);
    setSamplers(surfaceProgram_, {{"diffuseSampler", 0},
                                  {"glossinessSampler", 1},
                                  {"illuminationSampler", 2},
                                  {"normalSampler", 3},
                                  {"environmentSampler", 4}});

    samplePointTexture_ = gl_names::ownTexture(environment_passes::createSamplePointTexture());

    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    if (GLEW_ARB_sample_shading) {
        glEnable(GL_SAMPLE_SHADING);
        glMinSampleShading(1.0f);
    }

    kernels_ = buildPixelKernels(openCl_, clObjects_);
}

Renderer::~Renderer() = default;

void Renderer::beginFrame(unsigned sampleCount, const render_data& frame) {
    frame_ = frame;
    sampleCount_ = sampleCount;
    glContext_.makeCurrent();
    prepareTargets();
}

void Renderer::prepareTargets() {
    const pixel_buffer& output = frame_.output;
    if (isEmptyOutput(output)) {
        // Nothing to draw into: the frame's jobs do nothing, and the next frame makes its targets anew.
        clOutput_.release();
        renderTargetSet_.deleteAll();
        targets_ = frame_targets{};
        return;
    }
    const uint32_t bufferBytes = output.row_bytes * output.height;
    const int32_t width = static_cast<int32_t>(output.width);
    const int32_t height = static_cast<int32_t>(output.height);
    const unsigned samples = frameSampleCount(renderTargetSet_.limits(), sampleCount_);
    const bool sizeChanged = width != targets_.width || height != targets_.height || samples != targets_.samples;
    if (bufferBytes == targets_.bufferBytes && !sizeChanged) return;

    clOutput_.releaseImage();  // before the texture it shares goes
    if (sizeChanged) {
        targets_ = frame_targets{};
        targets_.width = width;
        targets_.height = height;
        targets_.samples = samples;
        renderTargetSet_.deleteAll();
        const int size[2] = {width, height};

        targets_.accumulationFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.accumulation = renderTargetSet_.createTexture(size, 0);
        renderTargetSet_.attach(targets_.accumulationFramebuffer, GL_COLOR_ATTACHMENT0, targets_.accumulation);

        // Colour and depth with one count, or the framebuffer is incomplete.
        targets_.sampleFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.sampleColor = renderTargetSet_.createTexture(size, static_cast<int>(samples));
        targets_.sampleDepth = renderTargetSet_.createDepthBuffer(size, static_cast<int>(samples));
        renderTargetSet_.attach(targets_.sampleFramebuffer, GL_COLOR_ATTACHMENT0, targets_.sampleColor);
        renderTargetSet_.attach(targets_.sampleFramebuffer, GL_DEPTH_ATTACHMENT, targets_.sampleDepth);

        targets_.resolveFramebuffer = renderTargetSet_.createFramebuffer();
        targets_.resolve = renderTargetSet_.createTexture(size, 0);
        renderTargetSet_.attach(targets_.resolveFramebuffer, GL_COLOR_ATTACHMENT0, targets_.resolve);
    }
    // Kept only once made: after a failure the next frame makes the OpenCL objects again.
    clOutput_.rebuild(targets_.accumulation.name, output.row_bytes, bufferBytes, kernels_);
    targets_.bufferBytes = bufferBytes;
}

bool Renderer::hasTargets() const { return targets_.sampleFramebuffer != 0; }

void Renderer::setRenderProperties(const render_properties& view) {
    view_ = view;
    const TransformMatricesBlock block = packTransformMatrices(view_);
    uploadUniformBlock(transformMatricesBuffer_.get(), &block, sizeof block);
}

void Renderer::setLights(const std::vector<light_properties>& lights) {
    const LightsBlock block = packLights(lights);
    uploadUniformBlock(lightsBuffer_.get(), &block, sizeof block);
}

void Renderer::clear() {
    if (!hasTargets()) return;
    glBindFramebuffer(GL_FRAMEBUFFER, targets_.sampleFramebuffer);
    glViewport(0, 0, targets_.width, targets_.height);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFrontFace(GL_CW);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, transformMatricesBuffer_.get());
    glBindBufferBase(GL_UNIFORM_BUFFER, 1, lightsBuffer_.get());
}

void Renderer::drawModel(const model_ref& model, const qssdk::mat4& modelMatrix, const material_properties& material) {
    if (!hasTargets()) return;
    glDepthMask(GL_FALSE);
    if (material.surface == surfaceAll) {
        material_properties back = material;
        back.surface = surfaceBack;
        back.bumpIsHeight = 0;
        drawModel(model, modelMatrix, back);
        // The surface program writes premultiplied colour, so the front faces go over the back ones with
        // a source factor of one: a factor of alpha would darken them by their opacity a second time.
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glCullFace(material.surface == surfaceBack ? GL_FRONT : GL_BACK);

    glBindFramebuffer(GL_FRAMEBUFFER, targets_.sampleFramebuffer);
    glViewport(0, 0, targets_.width, targets_.height);
    glEnable(GL_CULL_FACE);
    glEnable(GL_MULTISAMPLE);
    glUseProgram(surfaceProgram_);
    glBindVertexArray(model.vertex_array);

    const GLint wrap = material.uvMode == uvRepeat ? GL_REPEAT : GL_MIRRORED_REPEAT;
    bindMap(GL_TEXTURE0, material.diffuseTexture, wrap);
    bindMap(GL_TEXTURE1, material.glossinessTexture, wrap);
    bindMap(GL_TEXTURE2, material.illuminationTexture, wrap);
    bindMap(GL_TEXTURE3, material.normalTexture, wrap);
    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_CUBE_MAP, material.environmentTexture);
    if (material.environmentTexture != 0) {
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_REPEAT);
    }
    glActiveTexture(GL_TEXTURE0);

    const SurfaceUniforms u(surfaceProgram_);
    u.set("modelMatrix", modelMatrix);
    u.set("normalMatrix", normalMatrixOf(modelMatrix));
    u.setVec3("eyePosition", view_.eyePosition);
    u.set("modelColor", material.modelColor);
    u.set("uvType", material.uvType);
    u.set("edgeFeather", material.edgeFeather);
    u.set("edgeShrink", material.edgeShrink);
    u.set("diffuseGamma", material.diffuseGamma);
    u.set("glossinessGamma", material.glossinessGamma);
    u.set("illuminationGamma", material.illuminationGamma);
    u.set("environmentGamma", material.environmentGamma);
    u.setTexture("useDiffuseTexture", material.diffuseTexture);
    u.setTexture("useGlossinessTexture", material.glossinessTexture);
    u.setTexture("useIlluminationTexture", material.illuminationTexture);
    u.setTexture("useEnvironmentTexture", material.environmentTexture);
    u.setTexture("useNormalTexture", material.normalTexture);
    u.set("diffuseBlend", material.diffuseBlend);
    u.set("diffuseBrightness", material.diffuseBrightness);
    u.set("glossinessBrightness", material.glossinessBrightness);
    u.set("illuminationBrightness", material.illuminationBrightness);
    u.set("environmentBrightness", material.environmentBrightness);
    u.set("ambientAmount", material.ambientAmount);
    u.set("diffuseAmount", material.diffuseAmount);
    u.set("glossinessAmount", material.glossinessAmount);
    u.set("specularAmount", material.specularAmount);
    u.set("reflectivityAmount", material.reflectivityAmount);
    u.set("illuminationColor", material.illuminationColor);
    u.set("normalAmount", material.normalAmount);
    u.set("normalInvertGreen", normalInvertGreenUniform(material.invertGreen != 0));
    u.set("clipLighting", material.clipLighting);
    u.set("environmentRotation", qssdk::mat4_from_quaternion(material.environmentRotation));
    u.set("illuminationFresnel", material.illuminationFresnel);
    u.set("illuminationFresnelBias", material.illuminationFresnelBias);
    u.set("illuminationShadowLight", material.illuminationShadowLight);
    u.set("illuminationShadowLightContrast", shadowLightContrastUniform(material.shadowLightContrast));
    u.set("illuminationShadowLightExpand", material.illuminationShadowLightExpand);
    u.set("illuminationBumpInfluence", material.illuminationBumpInfluence);
    u.set("uvFeathering", uvFeatheringUniform(material.uvFeathering));
    u.set("uvRepeat", material.uvRepeat);
    u.set("uvOffset", material.uvOffset);
    u.set("uvRotation", uvRotationUniform(material.uvRotation));
    u.set("unlitMode", material.unlitMode ? 1 : 0);
    u.set("flattenBottom", material.flattenBottom ? 1 : 0);

    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model.index_count), GL_UNSIGNED_INT, nullptr);

    glBindVertexArray(0);
    glDisable(GL_BLEND);
    glUseProgram(0);
}

void Renderer::compositeSample(float weight) {
    if (!hasTargets()) return;
    const bool first = weight == 1.0f;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, targets_.sampleFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, first ? targets_.accumulationFramebuffer : targets_.resolveFramebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    // Also resolves the multisampled image.
    glBlitFramebuffer(0, 0, targets_.width, targets_.height, 0, 0, targets_.width, targets_.height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);

    if (!first) {
        // accumulation = weight x sample + (1 - weight) x accumulation: with weight 1/k the mean so far.
        glBindFramebuffer(GL_FRAMEBUFFER, targets_.accumulationFramebuffer);
        glDisable(GL_MULTISAMPLE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, targets_.width, targets_.height);
        glEnable(GL_BLEND);
        glBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR);
        glBlendColor(weight, weight, weight, weight);
        glUseProgram(copyProgram_);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, targets_.resolve.name);
        glBindVertexArray(quadVertexArray_.get());
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glBindVertexArray(0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glFinish();
}

void Renderer::writeOutput(float gamma) { clOutput_.write(kernels_, frame_.output, frame_.bytes_per_channel, gamma); }

uint32_t Renderer::uploadLayerTexture(const pixel_buffer& image) {
    // An empty layer is no image either: OpenCL cannot take a texture without texels, and a failure
    // here would end the renderer thread for good. Nor is a layer of a channel width without a kernel.
    if (!image.data || image.width == 0 || image.height == 0 || pixelKernelIndex(image.bytes_per_channel) < 0)
        return 0;
    // Deleted unless the upload succeeds: a texture whose texels OpenCL did not write is never drawn.
    GlName texture = gl_names::newTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height),
                 0, GL_RGBA, GL_FLOAT, nullptr);
    glFinish();

    uploadPixels(openCl_, kernels_, image, texture.get());

    glBindTexture(GL_TEXTURE_2D, texture.get());
    textureStore_.applyMaxAnisotropy(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture.release();
}

void Renderer::deleteTexture(unsigned texture) { glDeleteTextures(1, &texture); }

environment_passes::pass_objects Renderer::environmentPassObjects() const {
    return {quadVertexArray_.get(), heightToNormalProgram_, equirectProgram_, prefilterProgram_,
            samplePointTexture_.get()};
}

unsigned Renderer::buildEnvironmentMap(unsigned texture) {
    return environment_passes::buildEnvironmentMap(environmentPassObjects(), texture);
}

unsigned Renderer::buildNormalMap(unsigned texture, unsigned width, unsigned height) {
    const int size[2] = {static_cast<int>(width), static_cast<int>(height)};
    return environment_passes::buildNormalMap(environmentPassObjects(), textureStore_, texture, size,
                                              frame_.downsample_x, frame_.downsample_y);
}
