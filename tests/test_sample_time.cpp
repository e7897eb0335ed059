// The host times of a frame's motion-blur samples, down to the ends of the host's 32-bit times.
#include <limits>

#include <gtest/gtest.h>

#include "SmartRender.h"

namespace {

TEST(SampleTime, SamplesRunFromTheShuttersOpeningOverItsAngleHeldWithinTheHostsTimes) {
    // A 180-degree shutter opening a quarter frame early, four samples of a frame 100 units long: the
    // samples lie at -25, -12.5, 0 and 12.5, each at the host time at or before it.
    motion_blur blur;
    blur.samples = 4;
    blur.shutter = 0.5f;
    blur.phase = -0.25f;
    const A_long largest = std::numeric_limits<A_long>::max(), smallest = std::numeric_limits<A_long>::min();
    const struct {
        const char* name;
        A_long frameTime;
        A_long expected[4];
    } cases[] = {
        {"a frame at 30 s", 90000, {89975, 89987, 90000, 90012}},
        // The sum lies beyond 32 bits: summed in 64 bits, then held at the host's latest time.
        {"the host's last frame", largest - 5, {largest - 30, largest - 18, largest - 5, largest}},
        {"the host's first time", smallest + 10, {smallest, smallest, smallest + 10, smallest + 22}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(sampleTime(c.frameTime, 100, blur, i), c.expected[i]) << "sample " << i;
    }
}

}  // namespace
