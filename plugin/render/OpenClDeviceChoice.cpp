#include "OpenClDeviceChoice.h"

#include <span>
#include <string_view>

#include "contains_ignore_case.h"

namespace {

constexpr std::string_view nvidiaWords[] = {"nvidia"};
constexpr std::string_view intelWords[] = {"intel"};
constexpr std::string_view amdWords[] = {"amd", "ati", "advanced micro devices"};

std::span<const std::string_view> vendorWords(GlVendor vendor) {
    switch (vendor) {
        case GlVendor::nvidia: return nvidiaWords;
        case GlVendor::intel: return intelWords;
        case GlVendor::amd: return amdWords;
        case GlVendor::unknown: break;
    }
    return {};
}

bool containsAny(std::string_view text, std::span<const std::string_view> words) {
    for (std::string_view word : words)
        if (qssdk::contains_ignore_case(text, word)) return true;
    return false;
}

bool acceptable(GlVendor glVendor, size_t platformCount, const cl_platform_description& platform) {
    if (!platform.vendor) return false;
    if (platformCount == 1 || glVendor == GlVendor::unknown) return true;
    const std::span<const std::string_view> words = vendorWords(glVendor);
    return containsAny(*platform.vendor, words) || containsAny(platform.name, words);
}

// The type is a bit field: a GPU may also be the platform's default device.
bool isGpu(cl_device_type type) { return (type & CL_DEVICE_TYPE_GPU) != 0; }

}  // namespace

GlVendor glVendorClass(const char* glVendor) {
    if (!glVendor) return GlVendor::unknown;
    if (qssdk::contains_ignore_case(glVendor, "nvidia")) return GlVendor::nvidia;
    if (qssdk::contains_ignore_case(glVendor, "intel")) return GlVendor::intel;
    if (containsAny(glVendor, vendorWords(GlVendor::amd))) return GlVendor::amd;
    return GlVendor::unknown;
}

std::vector<cl_device_candidate> orderDeviceCandidates(GlVendor glVendor,
                                                       const std::vector<cl_platform_description>& platforms) {
    std::vector<cl_device_candidate> shared, gpus, others;
    for (size_t p = 0; p < platforms.size(); ++p) {
        const cl_platform_description& platform = platforms[p];
        if (!acceptable(glVendor, platforms.size(), platform)) continue;
        if (platform.glDeviceType && isGpu(*platform.glDeviceType)) shared.push_back({p, GlClSharing::shared, 0});
        for (size_t d = 0; d < platform.deviceTypes.size(); ++d)
            (isGpu(platform.deviceTypes[d]) ? gpus : others).push_back({p, GlClSharing::copied, d});
    }
    shared.insert(shared.end(), gpus.begin(), gpus.end());
    shared.insert(shared.end(), others.begin(), others.end());
    return shared;
}
