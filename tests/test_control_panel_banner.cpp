// The banner's pixels: both frames decoded from the embedded picture, and a picture that cannot be decoded
// leaves the strip empty with one line for the debugger rather than a popup on every redraw.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ControlPanelBanner.h"
#include "DebugOutput.h"

namespace {

TEST(ControlPanelBanner, DecodesBothFramesOfTheEmbeddedPicture) {
    ControlPanelBanner banner;
    const banner_pixels* pixels = banner.pixels();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->frameWidth, 559);
    EXPECT_EQ(pixels->frameHeight, 84);
    EXPECT_EQ(pixels->bytes.size(), 559u * 168 * 4);
    EXPECT_EQ(banner.pixels(), pixels);  // decoded once
}

TEST(ControlPanelBanner, APictureThatCannotBeDecodedLeavesTheStripEmptyWithOneDebuggerLine) {
    hostsim::DebugOutput debugger;
    const std::vector<unsigned char> damaged = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0};
    ControlPanelBanner banner(damaged);
    // Every draw finds nothing to draw; none throws (a throw would become the error popup).
    for (int redraw = 0; redraw < 3; ++redraw) EXPECT_NO_THROW(EXPECT_EQ(banner.pixels(), nullptr)) << redraw;
    const std::vector<std::string> lines = debugger.lines();
    EXPECT_EQ(lines, std::vector<std::string>{
                         "QS Pellux: unable to decode the controls-panel banner; the strip stays empty"});
}

}  // namespace
