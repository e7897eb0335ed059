#include <gtest/gtest.h>

#include "Image.h"
#include "TempFolder.h"
#include "World.h"

namespace {

using hostsim::Image;
using hostsim::rgba;

Image gradient() {
    Image image(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const float a = (x + 1) / 7.0f;
            image.at(x, y) = {0.5f * a, y / 4.0f * a, 1.0f * a, a};  // premultiplied
        }
    return image;
}

void expectClose(const Image& a, const Image& b, float tolerance) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            EXPECT_NEAR(a.at(x, y).r, b.at(x, y).r, tolerance) << x << "," << y;
            EXPECT_NEAR(a.at(x, y).g, b.at(x, y).g, tolerance) << x << "," << y;
            EXPECT_NEAR(a.at(x, y).b, b.at(x, y).b, tolerance) << x << "," << y;
            EXPECT_NEAR(a.at(x, y).a, b.at(x, y).a, tolerance) << x << "," << y;
        }
}

TEST(HostImage, PngRoundTripsAt8And16Bits) {
    TempFolder temp;
    const Image original = gradient();
    original.save(temp / L"eight.png", 8);
    original.save(temp / L"sixteen.png", 16);
    expectClose(Image::load(temp / L"eight.png"), original, 1.0f / 255);
    expectClose(Image::load(temp / L"sixteen.png"), original, 1.0f / 65535 * 2);
}

TEST(HostImage, LoadingAMissingFileNamesIt) {
    try {
        Image::load(L"C:\\no\\such\\picture.png");
        FAIL() << "expected an error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("picture.png"), std::string::npos) << error.what();
    }
}

TEST(HostWorld, HoldsPixelsInTheHostsLayoutAtEachDepth) {
    const Image original = gradient();
    for (int bits : {8, 16, 32}) {
        hostsim::World world(7, 5, bits, 12);
        world.fill(original);
        EXPECT_EQ(world.def().rowbytes, 7 * 4 * bits / 8 + 12);
        const float step = bits == 8 ? 1.0f / 255 : bits == 16 ? 1.0f / 32768 : 1e-7f;
        expectClose(world.toImage(), original, step);
    }
    hostsim::World eight(1, 1, 8);
    eight.fill(Image(1, 1, rgba{1.0f, 0.0f, 0.5f, 1.0f}));
    const auto* bytes = reinterpret_cast<const uint8_t*>(eight.def().data);
    EXPECT_EQ(bytes[0], 255);  // alpha first
    EXPECT_EQ(bytes[1], 255);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 128);
    // The host's buffers hold straight colour: half-transparent orange is full orange at half alpha.
    hostsim::World straight(1, 1, 8);
    straight.fill(Image(1, 1, rgba{0.5f, 0.25f, 0.0f, 0.5f}));
    const auto* half = reinterpret_cast<const uint8_t*>(straight.def().data);
    EXPECT_EQ(half[0], 128);
    EXPECT_EQ(half[1], 255);
    EXPECT_EQ(half[2], 128);
    EXPECT_EQ(half[3], 0);
    EXPECT_NEAR(straight.pixel(0, 0).g, 0.25f, 1.0f / 255);
    hostsim::World sixteen(1, 1, 16);
    sixteen.fill(Image(1, 1, rgba{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(reinterpret_cast<const uint16_t*>(sixteen.def().data)[0], 32768);
}

}  // namespace
