#include "SamplePointTable.h"

#include <cmath>
#include <numbers>

namespace sample_points {

uint32_t reverseBits(uint32_t i) {
    i = (i << 16) | (i >> 16);
    i = ((i & 0x00FF00FFu) << 8) | ((i & 0xFF00FF00u) >> 8);
    i = ((i & 0x0F0F0F0Fu) << 4) | ((i & 0xF0F0F0F0u) >> 4);
    i = ((i & 0x33333333u) << 2) | ((i & 0xCCCCCCCCu) >> 2);
    i = ((i & 0x55555555u) << 1) | ((i & 0xAAAAAAAAu) >> 1);
    return i;
}

std::vector<float> makeTable() {
    std::vector<float> table(static_cast<size_t>(rows) * columns * floatsPerTexel, 0.0f);
    for (int row = 0; row < levels; ++row) {
        // The lobe widens with the level, from nearly a mirror (j = 1) to the widest (j = 6, a = 1).
        const double a = std::pow((row + 1) / 6.0, 2.8);
        for (int i = 0; i < columns; ++i) {
            // Hammersley: the radical inverse of i spreads the samples evenly over the lobe.
            const double u = reverseBits(static_cast<uint32_t>(i)) * 0x1p-32;
            const double cos2 = (1 - u) / (1 + (a * a - 1) * u);
            const double cosT = std::sqrt(cos2);
            const double sinT = std::sqrt(1 - cos2);
            const double phi = 2 * std::numbers::pi * i / columns;
            float* texel = &table[(static_cast<size_t>(row) * columns + i) * floatsPerTexel];
            texel[0] = static_cast<float>(std::cos(phi) * sinT);
            texel[1] = static_cast<float>(std::sin(phi) * sinT);
            texel[2] = static_cast<float>(cosT);
            texel[3] = 0.0f;
        }
    }
    return table;
}

}  // namespace sample_points
