// A trimmed layer world placed in a buffer of the whole layer's size, against layouts worked out by hand.
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

layer_extent extent(PF_LRect where, uint32_t width, uint32_t height) { return {where, width, height}; }

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
        const pixel_buffer placed = placedInLayer(world.buffer, e, storage);
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
        const pixel_buffer placed = placedInLayer(world.buffer, c.extent, storage);
        EXPECT_EQ(placed.width, c.extent.width);
        EXPECT_EQ(placed.height, c.extent.height);
        EXPECT_EQ(placed.bytes_per_channel, c.bytesPerChannel);
        EXPECT_EQ(placed.row_bytes, c.extent.width * 4 * c.bytesPerChannel) << "rows without padding";
        EXPECT_EQ(placed.data, storage.data());
        EXPECT_EQ(storage.size(), static_cast<size_t>(placed.row_bytes) * placed.height);
        EXPECT_EQ(layout(placed), c.layout);
    }
}

TEST(LayerPlacement, APartWithoutPixelsStaysWithout) {
    pixel_buffer none{0, 1, 0, 0, nullptr};
    std::vector<uint8_t> storage;
    EXPECT_EQ(placedInLayer(none, extent({3, 3, 5, 5}, 8, 8), storage).data, nullptr);
}

TEST(LayerPlacement, TheExtentIsTheCheckoutsResultRectangleInTheLayersSize) {
    PF_CheckoutResult result{};
    result.result_rect = {5, 6, 25, 16};
    result.max_result_rect = {0, 0, 40, 30};
    result.ref_width = 40;
    result.ref_height = 30;
    const layer_extent e = extentOf(result);
    EXPECT_EQ(e.where.left, 5);
    EXPECT_EQ(e.where.bottom, 16);
    EXPECT_EQ(e.width, 40u);
    EXPECT_EQ(e.height, 30u);
    result.ref_width = -1;  // nonsense from a host: not known
    EXPECT_EQ(extentOf(result).width, 0u);
}

}  // namespace
