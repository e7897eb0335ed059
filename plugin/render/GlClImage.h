// A GL texture seen by OpenCL as an image. Where the device shares with the GL context the image is the
// texture itself; elsewhere it is an image of its own that acquire and release copy through host memory
// with the GL context current on the calling thread. Kernels may use the image only between the two.
#pragma once

#include <cstdint>
#include <vector>

#include "OpenClContext.h"

class GlClImage {
public:
    // texture: a GL_TEXTURE_2D of internal format GL_RGBA16F (level 0 is used). flags: CL_MEM_READ_ONLY,
    // CL_MEM_WRITE_ONLY or CL_MEM_READ_WRITE, as kernels will use the image. Throws frame_exception.
    GlClImage(const OpenClContext& context, unsigned texture, cl_mem_flags flags);
    ~GlClImage();
    GlClImage(const GlClImage&) = delete;
    GlClImage& operator=(const GlClImage&) = delete;

    cl_mem image() const { return image_; }
    // Enqueued on the context's queue. Copied: acquire uploads the texture when kernels may read the image,
    // when kernels may have written the image, release waits for the queue and writes it back; `written`
    // false says the kernels since acquire only read it, so there is nothing to write back. Both throw
    // frame_exception when OpenCL fails; the texture is then left as it was.
    void acquire();
    void release(bool written = true);
    // Gives the image back after a failed step: nothing is written back and nothing is thrown.
    void abandon() noexcept;

private:
    // Throws when the image could not be made.
    void checkShared(cl_int err);

    const OpenClContext& context_;
    unsigned texture_;
    cl_mem_flags flags_;
    cl_mem image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint16_t> pixels_;  // copied: RGBA half floats, texel row 0 first (as sharing maps it)
};

// The image acquired for kernels from construction to release(); a scope left early by a failed step
// abandons it.
class GlClImageUse {
public:
    explicit GlClImageUse(GlClImage& image) : image_(image) { image_.acquire(); }
    ~GlClImageUse() {
        if (held_) image_.abandon();
    }
    GlClImageUse(const GlClImageUse&) = delete;
    GlClImageUse& operator=(const GlClImageUse&) = delete;

    void release(bool written = true) {
        held_ = false;
        image_.release(written);
    }

private:
    GlClImage& image_;
    bool held_ = true;
};
