// The simulated host's picture files: PNGs as the format defines them (checked byte by byte and through
// the system's decoder), whatever the system's own encoder would have written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

#include "Image.h"
#include "TempFolder.h"

namespace {

struct png_contents {
    uint32_t width = 0, height = 0;
    int bits = 0, colourType = 0;
    std::vector<uint8_t> rows;  // each row: its filter byte, then the samples
};

uint32_t big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Reads the chunks of a PNG file, checking each one's CRC, and inflates its pixel data.
png_contents readPng(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    png_contents png;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(bytes.size() > 8 && std::equal(signature, signature + 8, bytes.begin()));
    std::vector<uint8_t> packed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = big32(&bytes[at]);
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        const uint8_t* data = &bytes[at + 8];
        EXPECT_EQ(crc32(0, &bytes[at + 4], length + 4), big32(data + length)) << type;
        if (type == "IHDR") {
            png.width = big32(data);
            png.height = big32(data + 4);
            png.bits = data[8];
            png.colourType = data[9];
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        }
        at += 12 + length;
    }
    uLongf size = static_cast<uLongf>(png.height) * (1 + png.width * 4 * (png.bits / 8));
    png.rows.resize(size);
    EXPECT_EQ(uncompress(png.rows.data(), &size, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
    return png;
}

TEST(ImageFiles, PngsHoldUnpremultipliedRgbaInTheirByteOrder) {
    TempFolder folder;
    hostsim::Image image(2, 1);
    image.at(0, 0) = {1, 0.5f, 0, 1};          // orange
    image.at(1, 0) = {0, 0.125f, 0.25f, 0.5f};  // half-transparent blue, premultiplied
    image.save(folder / L"eight.png", 8);
    image.save(folder / L"sixteen.png", 16);

    const png_contents eight = readPng(folder / L"eight.png");
    EXPECT_EQ(eight.width, 2u);
    EXPECT_EQ(eight.bits, 8);
    EXPECT_EQ(eight.colourType, 6);  // RGBA
    EXPECT_EQ(eight.rows, (std::vector<uint8_t>{0, 255, 128, 0, 255, 0, 64, 128, 128}));

    const png_contents sixteen = readPng(folder / L"sixteen.png");
    EXPECT_EQ(sixteen.bits, 16);
    EXPECT_EQ(sixteen.rows, (std::vector<uint8_t>{0, 0xFF, 0xFF, 0x80, 0x00, 0, 0, 0xFF, 0xFF,  //
                                                   0, 0, 0x40, 0x00, 0x80, 0x00, 0x80, 0x00}));

    // The system's decoder reads the colours back, red first.
    for (const wchar_t* name : {L"eight.png", L"sixteen.png"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        const hostsim::Image back = hostsim::Image::load(folder / name);
        ASSERT_EQ(back.width(), 2);
        EXPECT_NEAR(back.at(0, 0).r, 1, 1e-6);
        EXPECT_NEAR(back.at(0, 0).g, 0.5f, 1.0f / 255);
        EXPECT_NEAR(back.at(0, 0).b, 0, 1e-6);
        EXPECT_NEAR(back.at(1, 0).b, 0.25f, 1.0f / 255);
        EXPECT_NEAR(back.at(1, 0).a, 0.5f, 1.0f / 255);
    }
    EXPECT_THROW(hostsim::Image::load(folder / L"none.png"), std::runtime_error);
}

}  // namespace
