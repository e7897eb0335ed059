// The OpenCL device, context and queue the renderer uses, chosen once for the renderer's GL context.
#pragma once

#include <string>

#include "OpenClDeviceChoice.h"
#include "OpenClLibrary.h"

// The GL context OpenCL is to work with.
struct gl_context_info {
    HGLRC context = nullptr;
    HDC dc = nullptr;
    const char* vendor = nullptr;  // GL_VENDOR
};

// The calling thread's current GL context (null members when there is none).
gl_context_info currentGlContext();

struct device_context {
    std::string name;                // CL_DEVICE_NAME, "Unknown" when the query fails
    std::string vendor;              // CL_DEVICE_VENDOR, "Unknown" when the query fails
    cl_device_id device = nullptr;
    cl_platform_id platform = nullptr;
    cl_context context = nullptr;    // released with the OpenClContext
    cl_command_queue queue = nullptr;  // released with the OpenClContext, before the context
    cl_device_type type = 1;         // CL_DEVICE_TYPE, 1 when the query fails
};

class OpenClContext {
public:
    // Loads the library and takes the first device of orderDeviceCandidates whose context and queue can be
    // made; writes the choice to the debugger. Throws qs_exception (no library) or std::runtime_error.
    explicit OpenClContext(const gl_context_info& gl);
    ~OpenClContext();
    OpenClContext(const OpenClContext&) = delete;
    OpenClContext& operator=(const OpenClContext&) = delete;

    const OpenClLibrary& cl() const { return library_; }
    const device_context& device() const { return device_; }
    GlClSharing sharing() const { return sharing_; }

private:
    OpenClLibrary library_;
    device_context device_;
    GlClSharing sharing_ = GlClSharing::shared;
};
