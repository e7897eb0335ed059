#include <gtest/gtest.h>
#include <windows.h>
#include <thread>
#include "DebugOutput.h"
TEST(DebugOutput, CollectsLinesFromEveryThread) {
    hostsim::DebugOutput output;
    OutputDebugStringA("Render: 1.25 ms\n");
    std::thread([] { OutputDebugStringA("Load Layer 502: "); OutputDebugStringA("3.00 ms\n"); }).join();
    const std::vector<std::string> expected{"Render: 1.25 ms", "Load Layer 502: 3.00 ms"};
    EXPECT_EQ(output.lines(), expected);
}
