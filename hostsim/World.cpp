#include "World.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace hostsim {

namespace {

constexpr float max16 = 32768.0f;  // the host's 16-bit channels run to 32768

template <class T> T quantise(float v, float scale) {
    return static_cast<T>(std::lround(std::min(std::max(v, 0.0f), 1.0f) * scale));
}

}  // namespace

World::World(int width, int height, int bitsPerChannel, int rowPadding) : bits_(bitsPerChannel) {
    if (bits_ != 8 && bits_ != 16 && bits_ != 32) throw std::invalid_argument("bits per channel must be 8, 16 or 32");
    const int rowBytes = width * 4 * (bits_ / 8) + rowPadding;
    bytes_.assign(static_cast<size_t>(rowBytes) * std::max(height, 1), 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bytes_.data() + static_cast<size_t>(y) * rowBytes;
        std::fill(row + rowBytes - rowPadding, row + rowBytes, paddingByte);
    }
    def_.world_flags = PF_WorldFlag_WRITEABLE | (bits_ == 16 ? PF_WorldFlag_DEEP : 0);
    def_.data = reinterpret_cast<PF_Pixel*>(bytes_.data());  // the host declares 8-bit pixels for every depth
    def_.rowbytes = rowBytes;
    def_.width = width;
    def_.height = height;
    def_.extent_hint = PF_LRect{0, 0, width, height};
    def_.pix_aspect_ratio = PF_RationalScale{1, 1};
}

void World::fill(const Image& image) {
    const int w = std::min(def_.width, image.width()), h = std::min(def_.height, image.height());
    for (int y = 0; y < h; ++y) {
        uint8_t* row = bytes_.data() + static_cast<size_t>(y) * def_.rowbytes;
        for (int x = 0; x < w; ++x) {
            const rgba& p = image.at(x, y);
            const float unmultiply = p.a > 0 ? 1.0f / p.a : 0.0f;
            const float argb[4] = {p.a, p.r * unmultiply, p.g * unmultiply, p.b * unmultiply};
            for (int c = 0; c < 4; ++c) {
                if (bits_ == 8)
                    row[4 * x + c] = quantise<uint8_t>(argb[c], 255.0f);
                else if (bits_ == 16)
                    reinterpret_cast<uint16_t*>(row)[4 * x + c] = quantise<uint16_t>(argb[c], max16);
                else
                    reinterpret_cast<float*>(row)[4 * x + c] = argb[c];
            }
        }
    }
}

rgba World::pixel(int x, int y) const {
    const uint8_t* row = bytes_.data() + static_cast<size_t>(y) * def_.rowbytes;
    float argb[4];
    for (int c = 0; c < 4; ++c) {
        if (bits_ == 8)
            argb[c] = row[4 * x + c] / 255.0f;
        else if (bits_ == 16)
            argb[c] = reinterpret_cast<const uint16_t*>(row)[4 * x + c] / max16;
        else
            argb[c] = reinterpret_cast<const float*>(row)[4 * x + c];
    }
    return rgba{argb[1] * argb[0], argb[2] * argb[0], argb[3] * argb[0], argb[0]};
}

size_t World::changedPaddingBytes() const {
    const size_t pixelBytes = static_cast<size_t>(def_.width) * 4 * (bits_ / 8);
    size_t changed = 0;
    for (int y = 0; y < def_.height; ++y) {
        const uint8_t* row = bytes_.data() + static_cast<size_t>(y) * def_.rowbytes;
        changed += static_cast<size_t>(
            std::count_if(row + pixelBytes, row + def_.rowbytes, [](uint8_t b) { return b != paddingByte; }));
    }
    return changed;
}

Image World::toImage() const {
    Image image(def_.width, def_.height);
    for (int y = 0; y < def_.height; ++y)
        for (int x = 0; x < def_.width; ++x) image.at(x, y) = pixel(x, y);
    return image;
}

}  // namespace hostsim
