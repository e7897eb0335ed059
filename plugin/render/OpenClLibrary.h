// The platform's OpenCL library, loaded when the renderer starts rather than linked, so that a machine
// without OpenCL gets a start-up error instead of a plug-in that fails to load. It comes from the system
// folder only: an OpenCL.dll in the host's current folder or on the PATH is never taken.
#pragma once

#include <windows.h>

#include <CL/cl.h>
#include <CL/cl_gl.h>

#include "system_library.h"

// Every entry point the renderer calls; X(name) is expanded once for the members and once for loading.
#define QS_OPENCL_ENTRY_POINTS(X)                                                                        \
    X(clGetPlatformIDs) X(clGetPlatformInfo) X(clGetDeviceIDs) X(clGetDeviceInfo)                        \
    X(clGetExtensionFunctionAddressForPlatform) X(clCreateContext) X(clReleaseContext)                   \
    X(clCreateCommandQueue) X(clReleaseCommandQueue) X(clCreateProgramWithSource) X(clBuildProgram)     \
    X(clGetProgramBuildInfo) X(clReleaseProgram) X(clCreateKernel) X(clReleaseKernel) X(clSetKernelArg) \
    X(clEnqueueNDRangeKernel) X(clFinish) X(clCreateBuffer) X(clCreateImage) X(clReleaseMemObject)      \
    X(clEnqueueReadBuffer) X(clEnqueueReadBufferRect) X(clEnqueueWriteBuffer) X(clEnqueueReadImage)    \
    X(clEnqueueWriteImage) X(clCreateFromGLTexture) X(clEnqueueAcquireGLObjects)                         \
    X(clEnqueueReleaseGLObjects)

class OpenClLibrary {
public:
    // Throws qs_exception when the library or one of its entry points is missing.
    explicit OpenClLibrary(const wchar_t* file = L"OpenCL.dll");
    OpenClLibrary(const OpenClLibrary&) = delete;
    OpenClLibrary& operator=(const OpenClLibrary&) = delete;

#define QS_OPENCL_MEMBER(name) decltype(&::name) name = nullptr;
    QS_OPENCL_ENTRY_POINTS(QS_OPENCL_MEMBER)
#undef QS_OPENCL_MEMBER

private:
    qssdk::system_library library_;
};
