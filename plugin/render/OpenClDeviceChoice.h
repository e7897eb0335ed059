// Which OpenCL device the renderer uses, decided from descriptions of the platforms alone, so that the
// vendor rules can be checked without the devices they describe.
#pragma once

#include <CL/cl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// How a GL texture reaches OpenCL: through the platform's GL sharing, or copied through host memory where
// the platform shares nothing with the GL context.
enum class GlClSharing { shared, copied };

enum class GlVendor { unknown, nvidia, intel, amd };

// From GL_VENDOR, without regard to case; a null string is unknown.
GlVendor glVendorClass(const char* glVendor);

struct cl_platform_description {
    std::optional<std::string> vendor;  // CL_PLATFORM_VENDOR; empty when the query failed
    std::string name;                   // CL_PLATFORM_NAME; "" when the query failed
    // Type of the device that the platform's GL sharing names for the current GL context; empty when the
    // platform has no sharing, names no device or its type query failed.
    std::optional<cl_device_type> glDeviceType;
    std::vector<cl_device_type> deviceTypes;  // every device of the platform, in its order
};

struct cl_device_candidate {
    size_t platform = 0;
    GlClSharing sharing = GlClSharing::shared;
    size_t device = 0;  // index into deviceTypes when copied; the GL device when shared
    bool operator==(const cl_device_candidate&) const = default;
};

// The devices to try, best first; the first one whose context and queue can be made is used. The GL-sharing
// GPU of each acceptable platform comes first; then, copied, the GPUs of the acceptable platforms and last
// their other devices.
std::vector<cl_device_candidate> orderDeviceCandidates(GlVendor glVendor,
                                                       const std::vector<cl_platform_description>& platforms);
