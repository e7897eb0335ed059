#include "PngFile.h"

#include <stdexcept>
#include <string>

#include <zlib.h>

namespace hostsim {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void chunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

std::vector<uint8_t> encodePng(int width, int height, int bits, const std::vector<uint16_t>& samples) {
    if ((bits != 8 && bits != 16) || width < 1 || height < 1 ||
        samples.size() != static_cast<size_t>(width) * height * 4)
        throw std::invalid_argument("a PNG needs 8 or 16 bits and width x height x 4 samples");
    const size_t bytes = bits / 8, rowBytes = 1 + static_cast<size_t>(width) * 4 * bytes;
    std::vector<uint8_t> rows;
    rows.reserve(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        for (size_t i = 0; i < static_cast<size_t>(width) * 4; ++i) {
            const uint16_t value = samples[static_cast<size_t>(y) * width * 4 + i];
            if (bits == 16) rows.push_back(static_cast<uint8_t>(value >> 8));  // big-endian
            rows.push_back(static_cast<uint8_t>(value));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 6) != Z_OK)
        throw std::runtime_error("cannot compress the PNG's pixels");
    packed.resize(packedSize);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {static_cast<uint8_t>(bits), 6, 0, 0, 0});  // RGBA, deflate, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    return png;
}

}  // namespace hostsim
