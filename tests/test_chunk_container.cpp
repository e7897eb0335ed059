#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ChunkContainer.h"
#include "GuardedBytes.h"

namespace {

using Mode = ChunkContainer::Mode;

std::vector<unsigned char> bytes(const char* text, size_t length) { return {text, text + length}; }

TEST(ChunkContainer, MeasuringCountsTheHeader) {
    ChunkContainer container(nullptr, 0, Mode::measure);
    EXPECT_TRUE(container.header());
    EXPECT_EQ(container.size(), 8u);
}

TEST(ChunkContainer, WritingStoresTheHeaderWhenItFits) {
    std::vector<unsigned char> buffer(8, 0xEE);
    ChunkContainer container(buffer.data(), buffer.size(), Mode::write);
    EXPECT_TRUE(container.header());
    EXPECT_EQ(buffer, bytes("QSCHF\0\0\1", 8));
    EXPECT_EQ(container.position(), 8u);

    std::vector<unsigned char> small(7, 0xEE);
    ChunkContainer tooSmall(small.data(), small.size(), Mode::write);
    EXPECT_FALSE(tooSmall.header());
    EXPECT_EQ(small, std::vector<unsigned char>(7, 0xEE));
    EXPECT_FALSE(ChunkContainer(nullptr, 100, Mode::write).header());
}

TEST(ChunkContainer, ReadingAcceptsOnlyTheTwoHeaders) {
    const struct {
        std::vector<unsigned char> data;
        bool accepted;
    } cases[] = {
        {bytes("QSCHF\0\0\1", 8), true},
        {bytes("QSCFH\0\0\1", 8), true},
        {bytes("QSCHF\0\0\1chunks", 14), true},
        {bytes("QSCHF\0\0\2", 8), false},
        {bytes("QSCHF\0\1\1", 8), false},
        {bytes("QSCHF\1\0\1", 8), false},
        {bytes("QSCHG\0\0\1", 8), false},
        {bytes("qschf\0\0\1", 8), false},
        {bytes("QSCHF\0\0", 7), false},
        {{}, false},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> data = c.data;
        ChunkContainer container(data.empty() ? nullptr : data.data(), data.size());
        EXPECT_EQ(container.header(), c.accepted) << std::string(c.data.begin(), c.data.end());
        EXPECT_EQ(container.position(), c.accepted ? 8u : 0u);
    }
}

TEST(ChunkContainer, TheFirstHeaderCallDecides) {
    std::vector<unsigned char> data = bytes("QSCHF\0\0\1", 8);
    ChunkContainer container(data.data(), data.size());
    ASSERT_TRUE(container.header());
    data[0] = 'X';
    EXPECT_TRUE(container.header());

    std::vector<unsigned char> wrong = bytes("QSCHF\0\0\2", 8);
    ChunkContainer refused(wrong.data(), wrong.size());
    ASSERT_FALSE(refused.header());
    wrong[7] = 1;
    EXPECT_FALSE(refused.header());
}

TEST(ChunkContainer, ReadingNeverTouchesBytesPastTheBuffer) {
    GuardedBytes guarded;
    std::mt19937 random(20261210);
    const std::vector<unsigned char> header = bytes("QSCHF\0\0\1", 8);
    for (size_t length = 0; length <= 24; ++length) {
        for (int variant = 0; variant < 3; ++variant) {
            std::vector<unsigned char> data(length);
            for (auto& b : data) b = static_cast<unsigned char>(random());
            // Also buffers that start like a header and are cut short of it, or hold it whole.
            if (variant > 0 && length > 0) std::memcpy(data.data(), header.data(), std::min(length, header.size()));
            unsigned char* start = guarded.place(data);
            ChunkContainer container(start, length);
            EXPECT_EQ(container.header(), variant > 0 && length >= 8) << length;
        }
    }
}

}  // namespace
