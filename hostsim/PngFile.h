// PNG files of RGBA samples, encoded here with zlib: the system's imaging encoders differ in how they
// order channels and bytes (Wine's writes 16-bit samples in the wrong byte order).
#pragma once

#include <cstdint>
#include <vector>

namespace hostsim {

// `samples` holds width x height x 4 values (red, green, blue, alpha), each below 2^bits; bits 8 or 16.
std::vector<uint8_t> encodePng(int width, int height, int bits, const std::vector<uint16_t>& samples);

}  // namespace hostsim
