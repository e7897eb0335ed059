#include "RenderLimits.h"

#include <algorithm>
#include <limits>

#include "format_string.h"

namespace {

// `samples` texels a pixel (1 for a single-sample texture).
bool fits(const render_limits& limits, uint32_t width, uint32_t height, uint64_t samples) {
    const uint64_t side = static_cast<uint64_t>(std::max(limits.maxTextureSize, 0));
    return width <= side && height <= side && uint64_t{width} * height * samples <= limits.maxTextureTexels;
}

}  // namespace

unsigned frameSampleCount(const render_limits& limits, unsigned requested) {
    const int32_t allowed = std::max(std::min(limits.maxColorTextureSamples, limits.maxSamples), 0);
    return std::min(requested, static_cast<unsigned>(allowed));
}

bool isEmptyOutput(const pixel_buffer& output) { return output.width == 0 || output.height == 0; }

std::string outputSizeProblem(const render_limits& limits, const pixel_buffer& output, unsigned sampleCount) {
    const unsigned samples = frameSampleCount(limits, sampleCount);
    if (samples != 0 && !limits.multisampleTextures) return "render texture multi-sampling not supported";
    if (!fits(limits, output.width, output.height, std::max(samples, 1u)))
        return "render texture size is over maximum supported size";
    if (output.width > static_cast<uint32_t>(std::max(limits.maxRenderbufferSize, 0)) ||
        output.height > static_cast<uint32_t>(std::max(limits.maxRenderbufferSize, 0)))
        return "render buffer size is over maximum supported size";
    // The output buffer's byte count is kept in 32 bits.
    if (uint64_t{output.row_bytes} * output.height > std::numeric_limits<uint32_t>::max())
        return "output buffer size is over maximum supported size";
    return {};
}

std::string layerSizeProblem(const render_limits& limits, const char* name, uint32_t width, uint32_t height) {
    if (fits(limits, width, height, 1)) return {};
    return qssdk::format_string("layer texture size is over maximum supported size: %s is %u x %u pixels", name,
                                width, height);
}
