// The importance-sampling directions of the roughness prefilter: one row of tangent-space half-vectors
// per roughness level, made once and uploaded as a texture.
#pragma once

#include <cstdint>
#include <vector>

namespace sample_points {

inline constexpr int columns = 512;        // samples per level
inline constexpr int rows = 24;            // rows of the texture; only the first `levels` are filled
inline constexpr int levels = 6;           // roughness levels 1..6 in rows 0..5
inline constexpr int floatsPerTexel = 4;   // (x, y, z, 0)

// The 32 bits of i in reverse order.
uint32_t reverseBits(uint32_t i);

// rows x columns texels of 4 floats, row after row; rows from `levels` on are zero.
std::vector<float> makeTable();

}  // namespace sample_points
