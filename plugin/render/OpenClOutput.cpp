#include "OpenClOutput.h"

#include "Timing.h"
#include "format_string.h"


void OpenClOutput::releaseImage() { image_.reset(); }

void OpenClOutput::rebuild(unsigned accumulationTexture, uint32_t rowBytes, uint32_t bufferBytes,
                           const pixel_kernels& kernels) {
    const OpenClLibrary& cl = context_.cl();
    image_.reset();
    buffer_.reset();
    image_ = std::make_unique<GlClImage>(context_, accumulationTexture, CL_MEM_READ_WRITE);
    cl_int err = CL_SUCCESS;
    buffer_.reset(cl.clCreateBuffer(context_.device().context, CL_MEM_READ_WRITE, bufferBytes, nullptr, &err));
    const cl_mem image = image_->image();
    for (cl_kernel kernel : kernels.output) {
        cl.clSetKernelArg(kernel, 0, sizeof image, &image);
        cl.clSetKernelArg(kernel, 1, sizeof(cl_mem), buffer_.address());
        cl.clSetKernelArg(kernel, 2, sizeof rowBytes, &rowBytes);
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
        image_->acquire();
        cl.clSetKernelArg(kernel, 3, sizeof gamma, &gamma);
        const size_t global[2] = {output.width, output.height};
        cl.clEnqueueNDRangeKernel(queue, kernel, 2, nullptr, global, nullptr, 0, nullptr, nullptr);
        image_->release(false);  // the output kernel only reads the accumulation
        cl.clEnqueueReadBuffer(queue, buffer_.get(), CL_TRUE, 0, size_t{output.row_bytes} * output.height, output.data,
                               0, nullptr, nullptr);
        cl.clFinish(queue);
    }
    OutputDebugStringA(qssdk::format_string("Output Render: %.2f ms\n", timing::elapsedMilliseconds(start)).c_str());
}
