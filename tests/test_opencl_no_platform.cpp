// Run with OCL_ICD_VENDORS naming an empty folder: the OpenCL library loads but offers no platform.
#include <gtest/gtest.h>

#include <stdexcept>

#include "OpenClContext.h"

TEST(OpenClWithoutPlatforms, StartupFailsWithNoPlatformsAvailable) {
    try {
        OpenClContext context{gl_context_info{}};
        FAIL() << "made a context on " << context.device().name;
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "no OpenCL platforms available");
    }
}
