#include "OpenClContext.h"

#include <GL/gl.h>

#include <array>
#include <cstring>
#include <stdexcept>

#include "format_string.h"

gl_context_info currentGlContext() {
    gl_context_info gl;
    gl.context = wglGetCurrentContext();
    gl.dc = wglGetCurrentDC();
    if (gl.context) gl.vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    return gl;
}

namespace {

std::optional<std::string> platformText(const OpenClLibrary& cl, cl_platform_id platform, cl_platform_info what) {
    char text[512] = {};
    if (cl.clGetPlatformInfo(platform, what, sizeof text, text, nullptr) != CL_SUCCESS) return std::nullopt;
    return std::string(text, strnlen(text, sizeof text));
}

std::string deviceText(const OpenClLibrary& cl, cl_device_id device, cl_device_info what) {
    char text[512] = {};
    if (cl.clGetDeviceInfo(device, what, sizeof text, text, nullptr) != CL_SUCCESS) return "Unknown";
    return std::string(text, strnlen(text, sizeof text));
}

std::optional<cl_device_type> deviceType(const OpenClLibrary& cl, cl_device_id device) {
    cl_device_type type = 0;
    if (cl.clGetDeviceInfo(device, CL_DEVICE_TYPE, sizeof type, &type, nullptr) != CL_SUCCESS) return std::nullopt;
    return type;
}

using Properties = std::array<cl_context_properties, 7>;

Properties sharingProperties(const gl_context_info& gl, cl_platform_id platform) {
    return {CL_GL_CONTEXT_KHR, reinterpret_cast<cl_context_properties>(gl.context),
            CL_WGL_HDC_KHR,    reinterpret_cast<cl_context_properties>(gl.dc),
            CL_CONTEXT_PLATFORM, reinterpret_cast<cl_context_properties>(platform), 0};
}

Properties copyingProperties(cl_platform_id platform) {
    return {CL_CONTEXT_PLATFORM, reinterpret_cast<cl_context_properties>(platform), 0};
}

// What the description of one platform leaves out: the handles the candidates refer to.
struct platform_handles {
    cl_platform_id platform = nullptr;
    cl_device_id glDevice = nullptr;
    std::vector<cl_device_id> devices;
};

// The device that the platform's GL sharing names for the GL context, or null.
cl_device_id sharedGlDevice(const OpenClLibrary& cl, const gl_context_info& gl, cl_platform_id platform) {
    if (!gl.context) return nullptr;
    auto getGlContextInfo = reinterpret_cast<clGetGLContextInfoKHR_fn>(
        cl.clGetExtensionFunctionAddressForPlatform(platform, "clGetGLContextInfoKHR"));
    if (!getGlContextInfo) return nullptr;
    const Properties properties = sharingProperties(gl, platform);
    cl_device_id device = nullptr;
    if (getGlContextInfo(properties.data(), CL_CURRENT_DEVICE_FOR_GL_CONTEXT_KHR, sizeof device, &device,
                         nullptr) != CL_SUCCESS)
        return nullptr;
    return device;
}

std::vector<cl_device_id> platformDevices(const OpenClLibrary& cl, cl_platform_id platform) {
    cl_uint count = 0;
    if (cl.clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, 0, nullptr, &count) != CL_SUCCESS || count == 0) return {};
    std::vector<cl_device_id> devices(count);
    if (cl.clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, count, devices.data(), nullptr) != CL_SUCCESS) return {};
    return devices;
}

std::vector<cl_platform_id> platformIds(const OpenClLibrary& cl) {
    cl_uint count = 0;
    if (cl.clGetPlatformIDs(0, nullptr, &count) != CL_SUCCESS || count == 0)
        throw std::runtime_error("no OpenCL platforms available");
    std::vector<cl_platform_id> platforms(count);
    if (cl.clGetPlatformIDs(count, platforms.data(), nullptr) != CL_SUCCESS)
        throw std::runtime_error("error getting OpenCL platform ids");
    return platforms;
}

}  // namespace

OpenClContext::OpenClContext(const gl_context_info& gl) {
    const OpenClLibrary& cl = library_;
    std::vector<platform_handles> handles;
    std::vector<cl_platform_description> descriptions;
    for (cl_platform_id platform : platformIds(cl)) {
        platform_handles& h = handles.emplace_back();
        cl_platform_description& d = descriptions.emplace_back();
        h.platform = platform;
        d.vendor = platformText(cl, platform, CL_PLATFORM_VENDOR);
        d.name = platformText(cl, platform, CL_PLATFORM_NAME).value_or("");
        h.glDevice = sharedGlDevice(cl, gl, platform);
        if (h.glDevice) d.glDeviceType = deviceType(cl, h.glDevice);
        h.devices = platformDevices(cl, platform);
        for (cl_device_id device : h.devices) d.deviceTypes.push_back(deviceType(cl, device).value_or(0));
    }

    for (const cl_device_candidate& candidate : orderDeviceCandidates(glVendorClass(gl.vendor), descriptions)) {
        const platform_handles& h = handles[candidate.platform];
        const bool shared = candidate.sharing == GlClSharing::shared;
        const cl_device_id device = shared ? h.glDevice : h.devices[candidate.device];
        const Properties properties = shared ? sharingProperties(gl, h.platform) : copyingProperties(h.platform);
        cl_int err = CL_SUCCESS;
        cl_context context = cl.clCreateContext(properties.data(), 1, &device, nullptr, nullptr, &err);
        if (err != CL_SUCCESS || !context) continue;
        cl_command_queue queue = cl.clCreateCommandQueue(context, device, 0, &err);
        if (err != CL_SUCCESS || !queue) {
            cl.clReleaseContext(context);
            continue;
        }
        device_.name = deviceText(cl, device, CL_DEVICE_NAME);
        device_.vendor = deviceText(cl, device, CL_DEVICE_VENDOR);
        device_.device = device;
        device_.platform = h.platform;
        device_.context = context;
        device_.queue = queue;
        device_.type = deviceType(cl, device).value_or(1);
        sharing_ = candidate.sharing;
        OutputDebugStringA(qssdk::format_string("OpenCL device: %s (%s), GL textures %s\n", device_.name.c_str(),
                                                device_.vendor.c_str(),
                                                shared ? "shared" : "copied through host memory")
                               .c_str());
        return;
    }
    throw std::runtime_error("no valid OpenCL/OpenGL interop device\n");
}

OpenClContext::~OpenClContext() {
    library_.clReleaseCommandQueue(device_.queue);
    library_.clReleaseContext(device_.context);
}
