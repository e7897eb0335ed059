// The device-choice rules over descriptions of made-up platforms, and the choice made on this machine.
#include <gtest/gtest.h>

#include "DebugOutput.h"
#include "OpenClContext.h"
#include "qs_exception.h"

namespace {

TEST(OpenClDeviceChoice, GlVendorClasses) {
    const struct {
        const char* vendor;
        GlVendor expected;
    } cases[] = {
        {"NVIDIA Corporation", GlVendor::nvidia},
        {"Intel Open Source Technology Center", GlVendor::intel},
        {"INTEL", GlVendor::intel},
        {"ATI Technologies Inc.", GlVendor::amd},
        {"Advanced Micro Devices, Inc.", GlVendor::amd},
        {"amd", GlVendor::amd},
        {"nVidia and Intel", GlVendor::nvidia},
        {"Mesa", GlVendor::unknown},
        {"VMware, Inc.", GlVendor::unknown},
        {"", GlVendor::unknown},
        {nullptr, GlVendor::unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(glVendorClass(c.vendor), c.expected) << (c.vendor ? c.vendor : "(null)");
}

constexpr cl_device_type gpu = CL_DEVICE_TYPE_GPU, cpu = CL_DEVICE_TYPE_CPU;

cl_platform_description platform(const char* vendor, const char* name, std::optional<cl_device_type> glDevice,
                                 std::vector<cl_device_type> devices) {
    cl_platform_description p;
    if (vendor) p.vendor = vendor;
    p.name = name;
    p.glDeviceType = glDevice;
    p.deviceTypes = std::move(devices);
    return p;
}

cl_device_candidate shared(size_t p) { return {p, GlClSharing::shared, 0}; }
cl_device_candidate copied(size_t p, size_t d) { return {p, GlClSharing::copied, d}; }

std::string describe(const std::vector<cl_device_candidate>& candidates) {
    std::string text;
    for (const auto& c : candidates)
        text += (c.sharing == GlClSharing::shared ? "shared(" + std::to_string(c.platform)
                                                   : "copied(" + std::to_string(c.platform) + "," +
                                                         std::to_string(c.device)) +
                ") ";
    return text;
}

TEST(OpenClDeviceChoice, CandidatesFollowTheVendorRules) {
    const struct {
        const char* what;
        const char* glVendor;
        std::vector<cl_platform_description> platforms;
        std::vector<cl_device_candidate> expected;
    } cases[] = {
        {"a single platform is used whatever its vendor", "NVIDIA Corporation",
         {platform("Advanced Micro Devices, Inc.", "AMD APP", gpu, {gpu})},
         {shared(0), copied(0, 0)}},
        {"of several platforms only the GL vendor's", "NVIDIA Corporation",
         {platform("Intel(R) Corporation", "Intel(R) OpenCL", gpu, {gpu, cpu}),
          platform("NVIDIA Corporation", "NVIDIA CUDA", gpu, {gpu})},
         {shared(1), copied(1, 0)}},
        {"the platform name stands in for a vendor that does not match", "ATI Technologies Inc.",
         {platform("Some Vendor", "Other", gpu, {gpu}),
          platform("Some Vendor", "AMD Accelerated Parallel Processing", gpu, {gpu})},
         {shared(1), copied(1, 0)}},
        {"an unknown GL vendor takes every platform in order", "Mesa",
         {platform("B", "b", gpu, {gpu}), platform("A", "a", gpu, {gpu})},
         {shared(0), shared(1), copied(0, 0), copied(1, 0)}},
        {"a platform whose vendor cannot be read is skipped, even alone", nullptr,
         {platform(nullptr, "x", gpu, {gpu})},
         {}},
        {"a GL device that is not a GPU is not shared", nullptr,
         {platform("A", "a", cpu, {cpu})},
         {copied(0, 0)}},
        {"a GPU that is also the default device is a GPU", nullptr,
         {platform("A", "a", gpu | CL_DEVICE_TYPE_DEFAULT, {gpu | CL_DEVICE_TYPE_DEFAULT})},
         {shared(0), copied(0, 0)}},
        {"without sharing, GPUs of every acceptable platform before other devices", "Mesa",
         {platform("A", "a", std::nullopt, {cpu, gpu}), platform("B", "b", std::nullopt, {gpu, cpu})},
         {copied(0, 1), copied(1, 0), copied(0, 0), copied(1, 1)}},
        {"without sharing, the vendor rules still pick the platform", "Intel Inc.",
         {platform("NVIDIA Corporation", "CUDA", std::nullopt, {gpu}),
          platform("Intel(R) Corporation", "Intel(R) OpenCL", std::nullopt, {cpu})},
         {copied(1, 0)}},
        {"this machine: one CPU platform, no sharing", "Mesa",
         {platform("The pocl project", "Portable Computing Language", std::nullopt, {cpu})},
         {copied(0, 0)}},
        {"no platform, no candidate", "Mesa", {}, {}},
    };
    for (const auto& c : cases) {
        const auto candidates = orderDeviceCandidates(glVendorClass(c.glVendor), c.platforms);
        EXPECT_EQ(candidates, c.expected) << c.what << ": got " << describe(candidates);
    }
}

// The machine's OpenCL (pocl through Wine) shares nothing with GL, so its CPU device is taken and copied.
TEST(OpenClContext, WithoutSharingTakesTheDeviceAndSaysHowTexturesTravel) {
    hostsim::DebugOutput debug;
    OpenClContext context{gl_context_info{}};
    EXPECT_EQ(context.sharing(), GlClSharing::copied);
    const device_context& device = context.device();
    EXPECT_NE(device.context, nullptr);
    EXPECT_NE(device.queue, nullptr);
    EXPECT_NE(device.platform, nullptr);
    EXPECT_TRUE(device.type & CL_DEVICE_TYPE_CPU);
    EXPECT_FALSE(device.name.empty());
    EXPECT_NE(device.name, "Unknown");
    EXPECT_EQ(debug.lines(), std::vector<std::string>{"OpenCL device: " + device.name + " (" + device.vendor +
                                                      "), GL textures copied through host memory"});
}

TEST(OpenClLibrary, AMissingLibraryIsAStartupError) {
    try {
        OpenClLibrary library(L"QsNoSuchOpenCl.dll");
        FAIL() << "loaded a library that does not exist";
    } catch (const qs_exception& e) {
        EXPECT_STREQ(e.what(), "unable to load the OpenCL library QsNoSuchOpenCl.dll (error 126)");
    }
}

TEST(OpenClLibrary, ALibraryWithoutTheEntryPointsIsAStartupError) {
    try {
        OpenClLibrary library(L"kernel32.dll");
        FAIL() << "kernel32 passed for OpenCL";
    } catch (const qs_exception& e) {
        EXPECT_STREQ(e.what(), "the OpenCL library has no entry point clGetPlatformIDs");
    }
}

}  // namespace
