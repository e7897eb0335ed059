#include "GlClImage.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "OpenClCheck.h"
#include "frame_exception.h"

namespace {

// Binds the texture for the caller's queries and puts the former binding back afterwards.
class TextureBinding {
public:
    explicit TextureBinding(unsigned texture) {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous_);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    ~TextureBinding() { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous_)); }
    TextureBinding(const TextureBinding&) = delete;
    TextureBinding& operator=(const TextureBinding&) = delete;

private:
    GLint previous_ = 0;
};

}  // namespace

GlClImage::GlClImage(const OpenClContext& context, unsigned texture, cl_mem_flags flags)
    : context_(context), texture_(texture), flags_(flags) {
    const OpenClLibrary& cl = context.cl();
    cl_int err = CL_SUCCESS;
    if (context.sharing() == GlClSharing::shared) {
        image_ = cl.clCreateFromGLTexture(context.device().context, flags, GL_TEXTURE_2D, 0, texture, &err);
        checkShared(err);
        return;
    }
    GLint format = 0;
    {
        TextureBinding binding(texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width_);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height_);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    }
    if (format != GL_RGBA16F || width_ <= 0 || height_ <= 0)
        throw frame_exception("failed to share a GL texture with OpenCL: not a texture of half-float texels");
    const cl_image_format imageFormat{CL_RGBA, CL_HALF_FLOAT};
    cl_image_desc desc{};
    desc.image_type = CL_MEM_OBJECT_IMAGE2D;
    desc.image_width = static_cast<size_t>(width_);
    desc.image_height = static_cast<size_t>(height_);
    image_ = cl.clCreateImage(context.device().context, flags, &imageFormat, &desc, nullptr, &err);
    checkShared(err);
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
}

GlClImage::~GlClImage() {
    if (image_) context_.cl().clReleaseMemObject(image_);
}

void GlClImage::checkShared(cl_int err) {
    // A driver may hand out no image and report no error (Wine's stub of clCreateFromGLTexture does).
    if (err == CL_SUCCESS && !image_) err = CL_INVALID_GL_OBJECT;
    if (err != CL_SUCCESS && image_) {  // the destructor of a constructor that throws never runs
        context_.cl().clReleaseMemObject(image_);
        image_ = nullptr;
    }
    checkOpenCl(err, "share a GL texture with OpenCL");
}

void GlClImage::acquire() {
    const OpenClLibrary& cl = context_.cl();
    const cl_command_queue queue = context_.device().queue;
    if (context_.sharing() == GlClSharing::shared) {
        checkOpenCl(cl.clEnqueueAcquireGLObjects(queue, 1, &image_, 0, nullptr, nullptr),
                    "acquire a GL texture for OpenCL");
        return;
    }
    if (flags_ & CL_MEM_WRITE_ONLY) return;  // kernels only write: what the texture held does not matter
    {
        TextureBinding binding(texture_);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_HALF_FLOAT, pixels_.data());
    }
    const size_t origin[3] = {0, 0, 0};
    const size_t region[3] = {static_cast<size_t>(width_), static_cast<size_t>(height_), 1};
    checkOpenCl(
        cl.clEnqueueWriteImage(queue, image_, CL_TRUE, origin, region, 0, 0, pixels_.data(), 0, nullptr, nullptr),
        "copy a GL texture into OpenCL");
}

void GlClImage::release(bool written) {
    const OpenClLibrary& cl = context_.cl();
    const cl_command_queue queue = context_.device().queue;
    if (context_.sharing() == GlClSharing::shared) {
        checkOpenCl(cl.clEnqueueReleaseGLObjects(queue, 1, &image_, 0, nullptr, nullptr),
                    "release a GL texture from OpenCL");
        return;
    }
    if ((flags_ & CL_MEM_READ_ONLY) || !written) return;  // kernels did not change it
    const size_t origin[3] = {0, 0, 0};
    const size_t region[3] = {static_cast<size_t>(width_), static_cast<size_t>(height_), 1};
    checkOpenCl(
        cl.clEnqueueReadImage(queue, image_, CL_TRUE, origin, region, 0, 0, pixels_.data(), 0, nullptr, nullptr),
        "copy an OpenCL image into its GL texture");
    TextureBinding binding(texture_);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_RGBA, GL_HALF_FLOAT, pixels_.data());
}

void GlClImage::abandon() noexcept {
    // A copied image has nothing to give back; a shared one goes back to GL, come what may.
    if (context_.sharing() == GlClSharing::shared)
        context_.cl().clEnqueueReleaseGLObjects(context_.device().queue, 1, &image_, 0, nullptr, nullptr);
}
