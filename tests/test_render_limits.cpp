// The sizes the host layer refuses before it posts a job, against limits given as values.
#include <gtest/gtest.h>

#include <utility>

#include "RenderLimits.h"

namespace {

TEST(RenderLimits, AFrameOrLayerBeyondADriverLimitIsRefusedWithItsMessage) {
    // A driver like the software rasteriser: 16384 pixels a side, but at most 10000 x 10000 texels a texture.
    const render_limits limits{16384, 16384, 4, 4, true, 10000ull * 10000};
    // rowBytes 0: rows without padding at 4 bytes a pixel.
    const auto output = [](uint32_t width, uint32_t height, uint32_t rowBytes = 0) {
        pixel_buffer buffer{};
        buffer.width = width;
        buffer.height = height;
        buffer.row_bytes = rowBytes ? rowBytes : width * 4;
        return buffer;
    };
    const struct {
        const char* name;
        pixel_buffer output;
        unsigned samples;
        std::string problem;
    } frames[] = {
        {"full HD floats, 4 samples", output(1920, 1080, 1920 * 16), 4, ""},
        {"one pixel over the size", output(1, 16385), 0, "render texture size is over maximum supported size"},
        {"within the size, over the texels", output(16384, 8000), 0,
         "render texture size is over maximum supported size"},
        {"the texels fit once, not four times", output(8000, 8000), 4,
         "render texture size is over maximum supported size"},
        {"16 samples count as the driver's 4", output(4000, 6000), 16, ""},
        {"padded rows, 4 GB short of a byte", output(9000, 8192, 524287), 0, ""},
        {"padded rows, 4 GB and more", output(9000, 8192, 524288), 0,
         "output buffer size is over maximum supported size"},
    };
    for (const auto& f : frames) EXPECT_EQ(outputSizeProblem(limits, f.output, f.samples), f.problem) << f.name;

    render_limits smallDepth = limits;
    smallDepth.maxRenderbufferSize = 4096;
    EXPECT_EQ(outputSizeProblem(smallDepth, output(5000, 10), 0), "render buffer size is over maximum supported size");
    render_limits noMultisample = limits;
    noMultisample.multisampleTextures = false;
    EXPECT_EQ(outputSizeProblem(noMultisample, output(64, 64), 2), "render texture multi-sampling not supported");
    EXPECT_EQ(outputSizeProblem(noMultisample, output(64, 64), 0), "");

    EXPECT_EQ(layerSizeProblem(limits, "Diffuse Layer", 16384, 2), "");
    EXPECT_EQ(layerSizeProblem(limits, "Diffuse Layer", 16385, 2),
              "layer texture size is over maximum supported size: Diffuse Layer is 16385 x 2 pixels");
    EXPECT_EQ(layerSizeProblem(limits, "Environment Layer", 16384, 16384),
              "layer texture size is over maximum supported size: Environment Layer is 16384 x 16384 pixels");
}

TEST(RenderLimits, ColourAndDepthShareTheOneSampleCountBothLimitsAllow) {
    const struct {
        int32_t colorTextureSamples;  // GL_MAX_COLOR_TEXTURE_SAMPLES
        int32_t samples;              // GL_MAX_SAMPLES
        unsigned requested;
        unsigned count;
    } cases[] = {
        {4, 4, 0, 0},
        {4, 4, 2, 2},
        {4, 4, 4, 4},
        {4, 4, 16, 4},
        {8, 4, 8, 4},    // the depth buffer's limit is the lower
        {4, 8, 8, 4},    // the colour texture's limit is the lower
        {16, 8, 16, 8},
        {8, 16, 2, 2},
        {0, 8, 4, 0},    // no multisample colour textures at all
        {8, 0, 4, 0},    // no multisample depth buffers
        {-1, 8, 4, 0},   // a driver that reports nonsense
    };
    for (const auto& c : cases) {
        render_limits limits{16384, 16384, c.colorTextureSamples, c.samples, true, 16384ull * 16384};
        EXPECT_EQ(frameSampleCount(limits, c.requested), c.count)
            << c.requested << " asked, colour " << c.colorTextureSamples << ", depth " << c.samples;
    }

    // The frame check counts the memory of the shared count: 8000 x 8000 fits once, not four times.
    pixel_buffer output{};
    output.width = output.height = 8000;
    output.row_bytes = 8000 * 4;
    const render_limits depthHoldsBack{16384, 16384, 8, 1, true, 10000ull * 10000};
    EXPECT_EQ(outputSizeProblem(depthHoldsBack, output, 8), "");
    const render_limits bothAllowFour{16384, 16384, 8, 4, true, 10000ull * 10000};
    EXPECT_EQ(outputSizeProblem(bothAllowFour, output, 8), "render texture size is over maximum supported size");
}

TEST(RenderLimits, AnEmptyOutputIsNoProblemAndDrawsNothing) {
    const render_limits limits{16384, 16384, 4, 4, true, 10000ull * 10000};
    for (const auto& [width, height] : {std::pair{0u, 64u}, std::pair{64u, 0u}, std::pair{0u, 0u}}) {
        pixel_buffer output{};
        output.width = width;
        output.height = height;
        output.row_bytes = width * 4;
        EXPECT_TRUE(isEmptyOutput(output)) << width << " x " << height;
        EXPECT_EQ(outputSizeProblem(limits, output, 16), "") << width << " x " << height;
    }
    pixel_buffer onePixel{};
    onePixel.width = onePixel.height = 1;
    EXPECT_FALSE(isEmptyOutput(onePixel));
}

}  // namespace
