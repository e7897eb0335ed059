#include "OpenClPrograms.h"

#include <string>

#include "opencl_sources.h"
#include "shader_compile_exception.h"

OpenClObjectRegistry::~OpenClObjectRegistry() {
    for (cl_kernel kernel : kernels_) cl_.clReleaseKernel(kernel);
    for (cl_program program : programs_) cl_.clReleaseProgram(program);
}

void OpenClObjectRegistry::add(cl_program program) {
    std::lock_guard lock(mutex_);
    programs_.push_back(program);
}

void OpenClObjectRegistry::add(cl_kernel kernel) {
    std::lock_guard lock(mutex_);
    kernels_.push_back(kernel);
}

cl_program buildProgram(const OpenClContext& context, OpenClObjectRegistry& registry, std::string_view source,
                        std::initializer_list<std::string_view> defines) {
    const OpenClLibrary& cl = context.cl();
    std::string text;
    for (std::string_view define : defines) text.append("#define ").append(define).append("\n");
    text.append(source);
    const char* strings[] = {text.c_str()};
    const size_t lengths[] = {text.size()};
    cl_int err = CL_SUCCESS;
    cl_program program = cl.clCreateProgramWithSource(context.device().context, 1, strings, lengths, &err);
    if (err != CL_SUCCESS || !program) throw shader_compile_exception("could not create program");
    registry.add(program);

    const cl_device_id device = context.device().device;
    if (cl.clBuildProgram(program, 1, &device, "-cl-fast-relaxed-math", nullptr, nullptr) != CL_SUCCESS) {
        size_t size = 0;
        cl.clGetProgramBuildInfo(program, device, CL_PROGRAM_BUILD_LOG, 0, nullptr, &size);
        std::string log(size, '\0');
        cl.clGetProgramBuildInfo(program, device, CL_PROGRAM_BUILD_LOG, size, log.data(), nullptr);
        OutputDebugStringA(log.c_str());
        throw shader_compile_exception("could not build program");
    }
    return program;
}

cl_kernel createKernel(const OpenClContext& context, OpenClObjectRegistry& registry, cl_program program,
                       const char* name) {
    cl_int err = CL_SUCCESS;
    cl_kernel kernel = context.cl().clCreateKernel(program, name, &err);
    if (err != CL_SUCCESS || !kernel) throw shader_compile_exception("could not create kernel");
    registry.add(kernel);
    return kernel;
}

pixel_kernels buildPixelKernels(const OpenClContext& context, OpenClObjectRegistry& registry) {
    const std::string_view source(reinterpret_cast<const char*>(opencl_sources::pixel_io_cl.data()),
                                  opencl_sources::pixel_io_cl.size());
    const cl_program programs[3] = {buildProgram(context, registry, source, {"OUTPUT_BPC 32"}),
                                    buildProgram(context, registry, source, {"OUTPUT_BPC 16"}),
                                    buildProgram(context, registry, source, {"OUTPUT_BPC 8"})};
    pixel_kernels kernels;
    for (int i = 0; i < 3; ++i) kernels.input[i] = createKernel(context, registry, programs[i], "input");
    for (int i = 0; i < 3; ++i) kernels.output[i] = createKernel(context, registry, programs[i], "output");
    return kernels;
}

int pixelKernelIndex(uint32_t bytesPerChannel) {
    switch (bytesPerChannel) {
        case 4: return 0;
        case 2: return 1;
        case 1: return 2;
        default: return -1;
    }
}
