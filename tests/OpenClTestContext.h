// An OpenCL context on the machine's device, for the GL context current on the test thread if there is one,
// with the pixel I/O kernels built, and helpers that run kernels on images and buffers made directly.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "OpenClPrograms.h"

class OpenClTest : public ::testing::Test {
protected:
    void SetUp() override;

    const OpenClLibrary& cl() const { return context->cl(); }
    cl_context clContext() const { return context->device().context; }
    cl_command_queue queue() const { return context->device().queue; }

    // A CL_RGBA float image filled with rgba (width x height x 4 floats).
    cl_mem makeImage(const std::vector<float>& rgba, size_t width, size_t height, cl_mem_flags flags);
    std::vector<float> readImage(cl_mem image, size_t width, size_t height);
    // A buffer holding bytes.
    cl_mem makeBuffer(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> readBuffer(cl_mem buffer, size_t size);
    void run(cl_kernel kernel, size_t width, size_t height);

    std::unique_ptr<OpenClContext> context;
    std::unique_ptr<OpenClObjectRegistry> registry;
    pixel_kernels kernels;
};

// Releases a memory object at scope end.
class ClMem {
public:
    ClMem(const OpenClLibrary& cl, cl_mem mem) : cl_(cl), mem_(mem) {}
    ~ClMem() {
        if (mem_) cl_.clReleaseMemObject(mem_);
    }
    ClMem(const ClMem&) = delete;
    ClMem& operator=(const ClMem&) = delete;
    cl_mem get() const { return mem_; }

private:
    const OpenClLibrary& cl_;
    cl_mem mem_;
};
