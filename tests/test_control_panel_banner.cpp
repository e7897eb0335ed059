// The banner's pixels: both frames decoded from the embedded picture, and a picture that cannot be decoded
// reported once rather than on every redraw.
#include <gtest/gtest.h>

#include <vector>

#include "ControlPanelBanner.h"
#include "qs_exception.h"

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

TEST(ControlPanelBanner, APictureThatCannotBeDecodedIsReportedOnce) {
    const std::vector<unsigned char> damaged = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0};
    ControlPanelBanner banner(damaged);
    try {
        banner.pixels();
        ADD_FAILURE() << "the damaged picture was not reported";
    } catch (const qs_exception& error) {
        EXPECT_STREQ(error.what(), "unable to decode the controls-panel banner");
    }
    // Every later draw finds nothing to draw, and says nothing.
    for (int redraw = 0; redraw < 3; ++redraw) {
        EXPECT_NO_THROW(EXPECT_EQ(banner.pixels(), nullptr));
    }
}

}  // namespace
