// OpenCL programs and kernels: building them, keeping them for release, and the pixel I/O kernel set.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string_view>
#include <vector>

#include "OpenClContext.h"

// The OpenCL half of the renderer's program registry: what was made through it is released with it,
// kernels before programs.
class OpenClObjectRegistry {
public:
    explicit OpenClObjectRegistry(const OpenClLibrary& cl) : cl_(cl) {}
    ~OpenClObjectRegistry();
    OpenClObjectRegistry(const OpenClObjectRegistry&) = delete;
    OpenClObjectRegistry& operator=(const OpenClObjectRegistry&) = delete;

    void add(cl_program program);
    void add(cl_kernel kernel);

private:
    const OpenClLibrary& cl_;
    std::mutex mutex_;
    std::vector<cl_program> programs_;
    std::vector<cl_kernel> kernels_;
};

// Builds "#define <define>\n" for each define, then the source, for the context's device with
// -cl-fast-relaxed-math. Throws shader_compile_exception; a build failure writes the log to the debugger.
cl_program buildProgram(const OpenClContext& context, OpenClObjectRegistry& registry, std::string_view source,
                        std::initializer_list<std::string_view> defines);
cl_kernel createKernel(const OpenClContext& context, OpenClObjectRegistry& registry, cl_program program,
                       const char* name);

// The pixel I/O kernels per host channel width, in the order 32-, 16-, 8-bit.
struct pixel_kernels {
    cl_kernel input[3] = {};
    cl_kernel output[3] = {};
};

// The three builds of the embedded pixel I/O source, then their "input" kernels, then their "output" kernels.
pixel_kernels buildPixelKernels(const OpenClContext& context, OpenClObjectRegistry& registry);

// Index into pixel_kernels for a host channel width in bytes (4, 2, 1); -1 for any other width.
int pixelKernelIndex(uint32_t bytesPerChannel);
