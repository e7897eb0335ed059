#include "OpenClTestContext.h"

void OpenClTest::SetUp() {
    context = std::make_unique<OpenClContext>(currentGlContext());
    registry = std::make_unique<OpenClObjectRegistry>(context->cl());
    kernels = buildPixelKernels(*context, *registry);
}

cl_mem OpenClTest::makeImage(const std::vector<float>& rgba, size_t width, size_t height, cl_mem_flags flags) {
    const cl_image_format format{CL_RGBA, CL_FLOAT};
    cl_image_desc desc{};
    desc.image_type = CL_MEM_OBJECT_IMAGE2D;
    desc.image_width = width;
    desc.image_height = height;
    cl_int err = CL_SUCCESS;
    cl_mem image = cl().clCreateImage(clContext(), flags | CL_MEM_COPY_HOST_PTR, &format, &desc,
                                      const_cast<float*>(rgba.data()), &err);
    EXPECT_EQ(err, CL_SUCCESS);
    return image;
}

std::vector<float> OpenClTest::readImage(cl_mem image, size_t width, size_t height) {
    std::vector<float> rgba(width * height * 4);
    const size_t origin[3] = {0, 0, 0};
    const size_t region[3] = {width, height, 1};
    EXPECT_EQ(cl().clEnqueueReadImage(queue(), image, CL_TRUE, origin, region, 0, 0, rgba.data(), 0, nullptr,
                                      nullptr),
              CL_SUCCESS);
    return rgba;
}

cl_mem OpenClTest::makeBuffer(const std::vector<uint8_t>& bytes) {
    cl_int err = CL_SUCCESS;
    cl_mem buffer = cl().clCreateBuffer(clContext(), CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR, bytes.size(),
                                        const_cast<uint8_t*>(bytes.data()), &err);
    EXPECT_EQ(err, CL_SUCCESS);
    return buffer;
}

std::vector<uint8_t> OpenClTest::readBuffer(cl_mem buffer, size_t size) {
    std::vector<uint8_t> bytes(size);
    EXPECT_EQ(cl().clEnqueueReadBuffer(queue(), buffer, CL_TRUE, 0, size, bytes.data(), 0, nullptr, nullptr),
              CL_SUCCESS);
    return bytes;
}

void OpenClTest::run(cl_kernel kernel, size_t width, size_t height) {
    const size_t global[2] = {width, height};
    ASSERT_EQ(cl().clEnqueueNDRangeKernel(queue(), kernel, 2, nullptr, global, nullptr, 0, nullptr, nullptr),
              CL_SUCCESS);
    ASSERT_EQ(cl().clFinish(queue()), CL_SUCCESS);
}
