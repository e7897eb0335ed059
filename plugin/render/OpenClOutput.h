// The OpenCL side of the frame output: the accumulation texture shared as an image, the buffer the output
// kernels write, and the output job that converts the image into the host's buffer.
#pragma once

#include <cstdint>
#include <memory>

#include "ClMemory.h"
#include "GlClImage.h"
#include "OpenClPrograms.h"
#include "render_records.h"

class OpenClOutput {
public:
    explicit OpenClOutput(const OpenClContext& context) : context_(context), buffer_(context.cl()) {}
    OpenClOutput(const OpenClOutput&) = delete;
    OpenClOutput& operator=(const OpenClOutput&) = delete;

    // Before the accumulation texture is deleted or remade.
    void releaseImage();
    // The image and the buffer, for a frame that has none.
    void release();
    // Shares the accumulation texture read-write, makes a new buffer of bufferBytes and sets the output
    // kernels' arguments 0 (image), 1 (buffer) and 2 (rowBytes). Throws frame_exception, having released
    // whatever it made.
    void rebuild(unsigned accumulationTexture, uint32_t rowBytes, uint32_t bufferBytes,
                 const pixel_kernels& kernels);
    // The output job: the kernel for bytesPerChannel (1, 2 or 4) with the gamma over output's width and
    // height, then the pixels of each row into output.data; the row's bytes beyond its pixels stay as they
    // are. Another channel width writes nothing. Writes the time taken to the debugger. Throws
    // frame_exception when OpenCL fails.
    void write(const pixel_kernels& kernels, const pixel_buffer& output, int32_t bytesPerChannel, float gamma);

private:
    const OpenClContext& context_;
    std::unique_ptr<GlClImage> image_;
    ClMemory buffer_;
};
