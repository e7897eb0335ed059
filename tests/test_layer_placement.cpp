// A trimmed layer world placed in a buffer of the whole layer's size, against layouts worked out by hand,
// and the layer's size at a render's downsampling from the checkout's full-resolution reference size.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LayerPlacement.h"

namespace {

// A world of `width` x `height` pixels at `bytes` per channel whose every byte holds `mark`, with
// `padding` bytes at the end of each row that hold 0xEE.
struct world_bytes {
    std::vector<uint8_t> bytes;
    pixel_buffer buffer;
    world_bytes(uint32_t width, uint32_t height, uint32_t bytesPerChannel, uint8_t mark, uint32_t padding = 0) {
        const uint32_t row = width * 4 * bytesPerChannel + padding;
        bytes.assign(static_cast<size_t>(row) * height, 0xEE);
        for (uint32_t y = 0; y < height; ++y)
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(y * row), width * 4 * bytesPerChannel, mark);
        buffer = {row, bytesPerChannel, width, height, bytes.data()};
    }
};

// A layer of `width` x `height` in the render's pixels, at a downsampling that divides it.
layer_extent extent(PF_LRect where, uint32_t width, uint32_t height) { return {where, width, height, width, height}; }

// The layer's pixels as a map: '#' where the part lies, '.' where it is transparent.
std::string layout(const pixel_buffer& placed) {
    std::string text;
    const size_t pixelBytes = 4 * placed.bytes_per_channel;
    for (uint32_t y = 0; y < placed.height; ++y) {
        for (uint32_t x = 0; x < placed.width; ++x) {
            const uint8_t* p = placed.data + y * placed.row_bytes + x * pixelBytes;
            bool marked = true, clear = true;
            for (size_t k = 0; k < pixelBytes; ++k) {
                marked = marked && p[k] == 0x5A;
                clear = clear && p[k] == 0;
            }
            text += marked ? '#' : clear ? '.' : '?';
        }
        text += '/';
    }
    return text;
}

TEST(LayerPlacement, AWholeWorldOrAnUnknownExtentIsTakenAsItIs) {
    world_bytes world(4, 3, 1, 0x5A, 8);
    std::vector<uint8_t> storage;
    for (const layer_extent& e : {extent({0, 0, 4, 3}, 4, 3), extent({0, 0, 4, 3}, 0, 0), extent({1, 1, 5, 4}, 0, 3)}) {
        const pixel_buffer placed = placedInLayer(world.buffer, e, 1, storage);
        EXPECT_EQ(placed.data, world.buffer.data);
        EXPECT_EQ(placed.row_bytes, world.buffer.row_bytes);
        EXPECT_EQ(placed.width, 4u);
    }
    EXPECT_TRUE(storage.empty()) << "nothing copied";
}

TEST(LayerPlacement, ATrimmedWorldLandsWhereItsResultRectangleSaysAndTheRestIsTransparent) {
    const struct {
        const char* name;
        uint32_t bytesPerChannel, width, height;  // of the part
        layer_extent extent;
        const char* layout;
    } cases[] = {
        {"inside, 8 bits", 1, 2, 1, extent({1, 1, 3, 2}, 4, 3), "..../.##./..../"},
        {"in the lower right corner, float", 4, 2, 2, extent({2, 1, 4, 3}, 4, 3), "..../..##/..##/"},
        {"across the layer's right edge: cut", 2, 3, 1, extent({2, 0, 5, 1}, 4, 2), "..##/..../"},
        {"above the layer's top: cut", 1, 1, 3, extent({0, -2, 1, 1}, 2, 2), "#./../"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world_bytes world(c.width, c.height, c.bytesPerChannel, 0x5A, 12);
        std::vector<uint8_t> storage(7, 0x33);  // what a buffer held before is not kept
        const pixel_buffer placed = placedInLayer(world.buffer, c.extent, c.bytesPerChannel, storage);
        EXPECT_EQ(placed.width, c.extent.width);
        EXPECT_EQ(placed.height, c.extent.height);
        EXPECT_EQ(placed.bytes_per_channel, c.bytesPerChannel);
        EXPECT_EQ(placed.row_bytes, c.extent.width * 4 * c.bytesPerChannel) << "rows without padding";
        EXPECT_EQ(placed.data, storage.data());
        EXPECT_EQ(storage.size(), static_cast<size_t>(placed.row_bytes) * placed.height);
        EXPECT_EQ(layout(placed), c.layout);
    }
}

TEST(LayerPlacement, NoPixelsAreNoLayerUnlessTheHostFoundNothingOfTheLayerToHandOver) {
    pixel_buffer none{0, 1, 0, 0, nullptr};
    std::vector<uint8_t> storage;
    EXPECT_EQ(placedInLayer(none, extent({3, 3, 5, 5}, 8, 8), 4, storage).data, nullptr)
        << "pixels were due: the checkout failed";
    EXPECT_EQ(placedInLayer(none, extent({0, 0, 0, 0}, 0, 0), 4, storage).data, nullptr) << "no layer";
    // A layer without content, trimmed to nothing: what it is whole, a transparent layer of its size.
    for (uint32_t bytesPerChannel : {1u, 2u, 4u}) {
        SCOPED_TRACE(bytesPerChannel);
        const pixel_buffer placed = placedInLayer(none, extent({0, 0, 0, 0}, 4, 3), bytesPerChannel, storage);
        ASSERT_EQ(placed.data, storage.data());
        EXPECT_EQ(placed.width, 4u);
        EXPECT_EQ(placed.height, 3u);
        EXPECT_EQ(placed.bytes_per_channel, bytesPerChannel);
        EXPECT_EQ(placed.row_bytes, 4 * 4 * bytesPerChannel);
        EXPECT_EQ(layout(placed), "..../..../..../");
    }
}

TEST(LayerPlacement, TheExtentIsTheCheckoutsResultRectangleInTheLayersSize) {
    PF_CheckoutResult result{};
    result.result_rect = {5, 6, 25, 16};
    result.max_result_rect = {0, 0, 40, 30};
    result.ref_width = 40;
    result.ref_height = 30;
    const layer_extent e = extentOf(result, {1, 1}, {1, 1});
    EXPECT_EQ(e.where.left, 5);
    EXPECT_EQ(e.where.bottom, 16);
    EXPECT_EQ(e.width, 40u);
    EXPECT_EQ(e.height, 30u);
    result.ref_width = -1;  // nonsense from a host: not known
    EXPECT_EQ(extentOf(result, {1, 1}, {1, 1}).width, 0u);
    EXPECT_EQ(extentOf(result, {1, 1}, {1, 1}).height, 0u);
}

TEST(LayerPlacement, TheReferenceSizeIsScaledByEachAxissDownsampleRoundedUpAsTheHostSizesALayer) {
    const struct {
        A_long full;
        PF_RationalScale downsample;
        uint32_t length;
    } cases[] = {
        {1920, {1, 2}, 960},  {1921, {1, 2}, 961}, {999, {1, 3}, 333}, {1000, {1, 3}, 334},
        {1000, {1, 1}, 1000}, {3, {1, 4}, 1},      {0, {1, 2}, 0},     {40, {1, 0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.full << " at " << c.downsample.num << "/" << c.downsample.den);
        EXPECT_EQ(downsampledLength(c.full, c.downsample), c.length);
    }
    PF_CheckoutResult result{};
    result.result_rect = {0, 0, 961, 334};
    result.ref_width = 1921;
    result.ref_height = 1000;
    const layer_extent e = extentOf(result, {1, 2}, {1, 3});  // each axis its own factor
    EXPECT_EQ(e.width, 961u);
    EXPECT_EQ(e.height, 334u);
}

TEST(LayerPlacement, AWorldCoveringTheDownsampledLayerFromItsCornerIsWholeWithinTheRounding) {
    PF_CheckoutResult result{};
    result.ref_width = 9;   // 4.5 at 1/2
    result.ref_height = 6;  // 2 at 1/3, which divides
    const struct {
        const char* name;
        PF_LRect where;
        uint32_t width, height;
        bool whole;
    } cases[] = {
        {"the host's own rounding", {0, 0, 5, 2}, 5, 2, true},
        {"rounded down where it does not divide", {0, 0, 4, 2}, 4, 2, true},
        {"a column short of that", {0, 0, 3, 2}, 3, 2, false},
        {"a row short where it divides", {0, 0, 5, 1}, 5, 1, false},
        {"the same size off the corner", {1, 0, 6, 2}, 5, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        result.result_rect = c.where;
        const layer_extent e = extentOf(result, {1, 2}, {1, 3});
        world_bytes world(c.width, c.height, 2, 0x5A);
        std::vector<uint8_t> storage;
        const pixel_buffer placed = placedInLayer(world.buffer, e, 2, storage);
        EXPECT_EQ(placed.data == world.buffer.data, c.whole);
        if (!c.whole) {
            EXPECT_EQ(placed.width, 5u);
            EXPECT_EQ(placed.height, 2u);
        }
    }
}

}  // namespace
