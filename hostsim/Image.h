// Pictures the simulated host reads and writes: RGBA floats with premultiplied alpha (a World holds them
// with straight colour), loaded from PNG or JPEG and saved as PNG (8 or 16 bits) or as a float map.
#pragma once

#include <string>
#include <vector>

namespace hostsim {

struct rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

class Image {
public:
    Image() = default;
    Image(int width, int height, rgba fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const rgba& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // Throws std::runtime_error naming the file when it cannot be read or decoded.
    static Image load(const std::wstring& path);
    // bits 8 or 16 for PNG; a path ending in .pfm is written as a float map instead.
    void save(const std::wstring& path, int bits = 8) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<rgba> pixels_;
};

}  // namespace hostsim
