#include "OpenClOutput.h"

#include "OpenClCheck.h"
#include "Timing.h"
#include "format_string.h"

void OpenClOutput::releaseImage() { image_.reset(); }

void OpenClOutput::release() {
    image_.reset();
    buffer_.reset();
}

void OpenClOutput::rebuild(unsigned accumulationTexture, uint32_t rowBytes, uint32_t bufferBytes,
                           const pixel_kernels& kernels) {
    const OpenClLibrary& cl = context_.cl();
    release();
    try {
        image_ = std::make_unique<GlClImage>(context_, accumulationTexture, CL_MEM_READ_WRITE);
        cl_int err = CL_SUCCESS;
        buffer_.reset(cl.clCreateBuffer(context_.device().context, CL_MEM_READ_WRITE, bufferBytes, nullptr, &err));
        checkOpenCl(err, "create the OpenCL output buffer");
        const cl_mem image = image_->image();
        for (cl_kernel kernel : kernels.output) {
            checkOpenCl(cl.clSetKernelArg(kernel, 0, sizeof image, &image), "set the output kernel's image");
            checkOpenCl(cl.clSetKernelArg(kernel, 1, sizeof(cl_mem), buffer_.address()),
                        "set the output kernel's buffer");
            checkOpenCl(cl.clSetKernelArg(kernel, 2, sizeof rowBytes, &rowBytes), "set the output kernel's row bytes");
        }
    } catch (...) {
        release();  // nothing half made is used: the next frame makes all of it again
        throw;
    }
}

void OpenClOutput::write(const pixel_kernels& kernels, const pixel_buffer& output, int32_t bytesPerChannel,
                         float gamma) {
    const int64_t start = timing::nowNanoseconds();
    const OpenClLibrary& cl = context_.cl();
    const cl_command_queue queue = context_.device().queue;
    const int index = pixelKernelIndex(static_cast<uint32_t>(bytesPerChannel));
    if (index >= 0 && image_) {
        const cl_kernel kernel = kernels.output[index];
        {
            GlClImageUse use(*image_);
            checkOpenCl(cl.clSetKernelArg(kernel, 3, sizeof gamma, &gamma), "set the output kernel's gamma");
            const size_t global[2] = {output.width, output.height};
            checkOpenCl(cl.clEnqueueNDRangeKernel(queue, kernel, 2, nullptr, global, nullptr, 0, nullptr, nullptr),
                        "run the output kernel");
            use.release(false);  // the output kernel only reads the accumulation
        }
        // The pixels of each row only: the bytes the host keeps beyond them are the host's.
        const size_t origin[3] = {0, 0, 0};
        const size_t region[3] = {size_t{output.width} * 4 * static_cast<size_t>(bytesPerChannel), output.height, 1};
        checkOpenCl(cl.clEnqueueReadBufferRect(queue, buffer_.get(), CL_TRUE, origin, origin, region, output.row_bytes,
                                               0, output.row_bytes, 0, output.data, 0, nullptr, nullptr),
                    "read the output back from OpenCL");
        checkOpenCl(cl.clFinish(queue), "finish the output");
    }
    OutputDebugStringA(qssdk::format_string("Output Render: %.2f ms\n", timing::elapsedMilliseconds(start)).c_str());
}
