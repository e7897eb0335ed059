#include "OpenClLayerUpload.h"

#include "ClMemory.h"
#include "GlClImage.h"
#include "OpenClCheck.h"

void uploadPixels(const OpenClContext& context, const pixel_kernels& kernels, const pixel_buffer& image,
                  unsigned texture) {
    const int index = pixelKernelIndex(image.bytes_per_channel);
    if (index < 0) return;
    const OpenClLibrary& cl = context.cl();
    const cl_command_queue queue = context.device().queue;
    GlClImage target(context, texture, CL_MEM_WRITE_ONLY);
    const size_t bytes = size_t{image.row_bytes} * image.height;
    cl_int err = CL_SUCCESS;
    ClMemory buffer(cl, cl.clCreateBuffer(context.device().context, CL_MEM_READ_ONLY, bytes, nullptr, &err));
    checkOpenCl(err, "create the layer's OpenCL buffer");
    // Blocking: a later step that fails leaves no copy of the host's pixels pending.
    checkOpenCl(cl.clEnqueueWriteBuffer(queue, buffer.get(), CL_TRUE, 0, bytes, image.data, 0, nullptr, nullptr),
                "copy the layer into OpenCL");
    const cl_kernel kernel = kernels.input[index];
    const cl_mem targetImage = target.image();
    checkOpenCl(cl.clSetKernelArg(kernel, 0, sizeof targetImage, &targetImage), "set the input kernel's image");
    checkOpenCl(cl.clSetKernelArg(kernel, 1, sizeof(cl_mem), buffer.address()), "set the input kernel's buffer");
    checkOpenCl(cl.clSetKernelArg(kernel, 2, sizeof image.row_bytes, &image.row_bytes),
                "set the input kernel's row bytes");
    GlClImageUse use(target);
    const size_t global[2] = {image.width, image.height};
    checkOpenCl(cl.clEnqueueNDRangeKernel(queue, kernel, 2, nullptr, global, nullptr, 0, nullptr, nullptr),
                "run the input kernel");
    use.release();
    buffer.reset();
    checkOpenCl(cl.clFinish(queue), "finish the layer upload");
}
