// A host-owned image buffer in the host's layout (rows of alpha, red, green, blue at 8, 16 or 32 bits per
// channel), as handed to the effect for its input, its output and its layer checkouts. The host's buffers
// hold straight colour (not multiplied by alpha); fill and pixel convert from and to the premultiplied
// pictures of Image.
#pragma once

#include <cstdint>
#include <vector>

#include "Image.h"
#include "ae_effect.h"

namespace hostsim {

class World {
public:
    // The value of every byte of a row's padding, where the host keeps its own data.
    static constexpr uint8_t paddingByte = 0xA7;

    // rowPadding adds bytes at the end of each row, as a host may; they hold paddingByte.
    World(int width, int height, int bitsPerChannel, int rowPadding = 0);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    PF_EffectWorld& def() { return def_; }
    int bitsPerChannel() const { return bits_; }

    void fill(const Image& image);
    Image toImage() const;
    rgba pixel(int x, int y) const;
    // How many bytes of the rows' padding differ from paddingByte.
    size_t changedPaddingBytes() const;

private:
    int bits_;
    std::vector<uint8_t> bytes_;
    PF_EffectWorld def_{};
};

}  // namespace hostsim
