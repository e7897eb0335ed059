#include "OpenClFaults.h"

#include <atomic>
#include <utility>

#include "OpenClLibrary.h"

namespace {

std::atomic<int> armedKind{0};
std::atomic<int> callsToGo{0};
std::atomic<int> armedError{CL_SUCCESS};
std::atomic<int> liveMemory{0};

// Whether this call is the armed one.
bool failsNow(opencl_call kind) {
    if (armedKind.load() != static_cast<int>(kind) || --callsToGo != 0) return false;
    armedKind = 0;
    return true;
}

// The platform's entry points behind the stand-ins (the same for every library object).
struct {
#define QS_REAL_ENTRY(name) decltype(&::name) name = nullptr;
    QS_OPENCL_ENTRY_POINTS(QS_REAL_ENTRY)
#undef QS_REAL_ENTRY
} real;

namespace stand_in {

cl_mem CL_API_CALL clCreateBuffer(cl_context context, cl_mem_flags flags, size_t size, void* host, cl_int* error) {
    if (failsNow(opencl_call::createBuffer)) {
        if (error) *error = armedError;
        return nullptr;
    }
    cl_mem memory = real.clCreateBuffer(context, flags, size, host, error);
    if (memory) ++liveMemory;
    return memory;
}

cl_mem CL_API_CALL clCreateImage(cl_context context, cl_mem_flags flags, const cl_image_format* format,
                                 const cl_image_desc* desc, void* host, cl_int* error) {
    if (failsNow(opencl_call::createImage)) {
        if (error) *error = armedError;
        return nullptr;
    }
    cl_mem memory = real.clCreateImage(context, flags, format, desc, host, error);
    if (memory) ++liveMemory;
    return memory;
}

cl_int CL_API_CALL clReleaseMemObject(cl_mem memory) {
    const cl_int result = real.clReleaseMemObject(memory);
    if (result == CL_SUCCESS) --liveMemory;
    return result;
}

cl_int CL_API_CALL clSetKernelArg(cl_kernel kernel, cl_uint index, size_t size, const void* value) {
    return failsNow(opencl_call::setKernelArg) ? armedError.load() : real.clSetKernelArg(kernel, index, size, value);
}

cl_int CL_API_CALL clEnqueueNDRangeKernel(cl_command_queue queue, cl_kernel kernel, cl_uint dimensions,
                                          const size_t* offset, const size_t* global, const size_t* local,
                                          cl_uint waits, const cl_event* waitList, cl_event* event) {
    if (failsNow(opencl_call::runKernel)) return armedError;
    return real.clEnqueueNDRangeKernel(queue, kernel, dimensions, offset, global, local, waits, waitList, event);
}

cl_int CL_API_CALL clEnqueueWriteBuffer(cl_command_queue queue, cl_mem buffer, cl_bool blocking, size_t offset,
                                        size_t size, const void* data, cl_uint waits, const cl_event* waitList,
                                        cl_event* event) {
    if (failsNow(opencl_call::writeBuffer)) return armedError;
    return real.clEnqueueWriteBuffer(queue, buffer, blocking, offset, size, data, waits, waitList, event);
}

cl_int CL_API_CALL clEnqueueReadBufferRect(cl_command_queue queue, cl_mem buffer, cl_bool blocking,
                                           const size_t* bufferOrigin, const size_t* hostOrigin,
                                           const size_t* region, size_t bufferRowPitch, size_t bufferSlicePitch,
                                           size_t hostRowPitch, size_t hostSlicePitch, void* data, cl_uint waits,
                                           const cl_event* waitList, cl_event* event) {
    if (failsNow(opencl_call::readBufferRect)) return armedError;
    return real.clEnqueueReadBufferRect(queue, buffer, blocking, bufferOrigin, hostOrigin, region, bufferRowPitch,
                                        bufferSlicePitch, hostRowPitch, hostSlicePitch, data, waits, waitList, event);
}

cl_int CL_API_CALL clEnqueueWriteImage(cl_command_queue queue, cl_mem image, cl_bool blocking, const size_t* origin,
                                       const size_t* region, size_t rowPitch, size_t slicePitch, const void* data,
                                       cl_uint waits, const cl_event* waitList, cl_event* event) {
    if (failsNow(opencl_call::writeImage)) return armedError;
    return real.clEnqueueWriteImage(queue, image, blocking, origin, region, rowPitch, slicePitch, data, waits,
                                    waitList, event);
}

cl_int CL_API_CALL clEnqueueReadImage(cl_command_queue queue, cl_mem image, cl_bool blocking, const size_t* origin,
                                      const size_t* region, size_t rowPitch, size_t slicePitch, void* data,
                                      cl_uint waits, const cl_event* waitList, cl_event* event) {
    if (failsNow(opencl_call::readImage)) return armedError;
    return real.clEnqueueReadImage(queue, image, blocking, origin, region, rowPitch, slicePitch, data, waits,
                                   waitList, event);
}

cl_int CL_API_CALL clFinish(cl_command_queue queue) {
    return failsNow(opencl_call::finish) ? armedError.load() : real.clFinish(queue);
}

}  // namespace stand_in

}  // namespace

extern "C" void __real__ZN13OpenClLibraryC1EPKw(OpenClLibrary* library, const wchar_t* file);

extern "C" void __wrap__ZN13OpenClLibraryC1EPKw(OpenClLibrary* library, const wchar_t* file) {
    __real__ZN13OpenClLibraryC1EPKw(library, file);
#define QS_STAND_IN(name) real.name = std::exchange(library->name, &stand_in::name);
    QS_STAND_IN(clCreateBuffer)
    QS_STAND_IN(clCreateImage)
    QS_STAND_IN(clReleaseMemObject)
    QS_STAND_IN(clSetKernelArg)
    QS_STAND_IN(clEnqueueNDRangeKernel)
    QS_STAND_IN(clEnqueueWriteBuffer)
    QS_STAND_IN(clEnqueueReadBufferRect)
    QS_STAND_IN(clEnqueueWriteImage)
    QS_STAND_IN(clEnqueueReadImage)
    QS_STAND_IN(clFinish)
#undef QS_STAND_IN
}

void qs_test_arm_opencl_fault(int kind, int call, int error) {
    armedError = error;
    callsToGo = call;
    armedKind = kind;
}

int qs_test_live_opencl_memory() { return liveMemory.load(); }
