// GL textures reaching OpenCL through the copy stand-in (this machine's OpenCL shares nothing with GL), the
// output job that converts the accumulation texture into a host buffer, and the layer upload.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstring>
#include <regex>

#include "HostChannel.h"
#include "DebugOutput.h"
#include "GlClImage.h"
#include "OpenClLayerUpload.h"
#include "OpenClOutput.h"
#include "OpenClTestContext.h"
#include "GlContext.h"

namespace {

class GlClInterop : public OpenClTest {
protected:
    void SetUp() override {
        gl = std::make_unique<GlContext>();
        OpenClTest::SetUp();
        ASSERT_EQ(context->sharing(), GlClSharing::copied);
    }
    void TearDown() override {
        if (!textures.empty()) glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // A GL_RGBA16F texture holding rgba (width x height x 4 floats; null: no content).
    GLuint makeTexture(GLsizei width, GLsizei height, const float* rgba) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        textures.push_back(texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, rgba);
        glBindTexture(GL_TEXTURE_2D, 0);
        return texture;
    }

    template <typename T>
    std::vector<T> textureContent(GLuint texture, size_t count, GLenum type) {
        std::vector<T> values(count);
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, type, values.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return values;
    }

    std::vector<uint16_t> imageHalves(cl_mem image, size_t width, size_t height) {
        std::vector<uint16_t> halves(width * height * 4);
        const size_t origin[3] = {0, 0, 0}, region[3] = {width, height, 1};
        EXPECT_EQ(cl().clEnqueueReadImage(queue(), image, CL_TRUE, origin, region, 0, 0, halves.data(), 0, nullptr,
                                          nullptr),
                  CL_SUCCESS);
        return halves;
    }

    void writeImageHalves(cl_mem image, size_t width, size_t height, const std::vector<uint16_t>& halves) {
        const size_t origin[3] = {0, 0, 0}, region[3] = {width, height, 1};
        EXPECT_EQ(cl().clEnqueueWriteImage(queue(), image, CL_TRUE, origin, region, 0, 0, halves.data(), 0,
                                           nullptr, nullptr),
                  CL_SUCCESS);
    }

    std::unique_ptr<GlContext> gl;
    std::vector<GLuint> textures;
};

GLint boundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

TEST_F(GlClInterop, ACopiedImageCarriesTheTextureToOpenClAndBack) {
    const float rgba[3 * 2 * 4] = {0,    0.25f, 0.5f, 1,  1,     2,    -1,   0.125f, 0.75f, 0.5f, 0.25f, 0,
                                   0.5f, 0.5f,  0.5f, 0.5f, 0.0625f, 4, 8, 16, 0.375f, 0.625f, 0.875f, 1};
    const GLuint texture = makeTexture(3, 2, rgba);
    const std::vector<uint16_t> original = textureContent<uint16_t>(texture, 24, GL_HALF_FLOAT);
    const GLuint other = makeTexture(1, 1, nullptr);
    glBindTexture(GL_TEXTURE_2D, other);

    GlClImage image(*context, texture, CL_MEM_READ_WRITE);
    image.acquire();
    EXPECT_EQ(imageHalves(image.image(), 3, 2), original) << "the image holds the texture, row 0 first";
    std::vector<uint16_t> changed(original.rbegin(), original.rend());  // what a kernel might leave
    writeImageHalves(image.image(), 3, 2, changed);
    image.release();
    EXPECT_EQ(boundTexture(), static_cast<GLint>(other)) << "the caller's texture binding is kept";
    EXPECT_EQ(textureContent<uint16_t>(texture, 24, GL_HALF_FLOAT), changed);
}

TEST_F(GlClInterop, AReadOnlyImageIsNotWrittenBack) {
    const float rgba[4] = {0.5f, 0.25f, 0.125f, 1};
    const GLuint texture = makeTexture(1, 1, rgba);
    const std::vector<uint16_t> original = textureContent<uint16_t>(texture, 4, GL_HALF_FLOAT);
    GlClImage image(*context, texture, CL_MEM_READ_ONLY);
    image.acquire();
    writeImageHalves(image.image(), 1, 1, {0, 0, 0, 0});
    image.release();
    EXPECT_EQ(textureContent<uint16_t>(texture, 4, GL_HALF_FLOAT), original);
}

TEST_F(GlClInterop, ATextureOfAnotherFormatIsRefused) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    textures.push_back(texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_THROW(GlClImage(*context, texture, CL_MEM_READ_WRITE), std::runtime_error);
}

// Four pixels that exercise the output arithmetic: half-covered grey, opaque white, alpha 0, nothing.
const float outputPixels[2 * 2 * 4] = {0.25f, 0.25f, 0.25f, 0.5f, 1, 1, 1, 1, 0.25f, 0.5f, 0.75f, 0, 0, 0, 0, 0};

struct host_output {
    uint32_t bpc;
    double argb[4][4];  // per pixel
};

const host_output expectedOutputs[] = {
    {1, {{127, 127, 127, 127}, {255, 255, 255, 255}, {0, 63, 127, 191}, {0, 0, 0, 0}}},
    {2, {{16383, 16383, 16383, 16383}, {32767, 32767, 32767, 32767}, {0, 8191, 16383, 24575}, {0, 0, 0, 0}}},
    {4, {{0.5, 0.5, 0.5, 0.5}, {1, 1, 1, 1}, {0, 0.25, 0.5, 0.75}, {0, 0, 0, 0}}},
};

TEST_F(GlClInterop, WriteOutputConvertsTheAccumulationTextureIntoTheHostBuffer) {
    const GLuint accumulation = makeTexture(2, 2, outputPixels);
    OpenClOutput output(*context);
    const std::regex timing("Output Render: [0-9]+\\.[0-9]{2} ms");
    for (const host_output& expected : expectedOutputs) {
        SCOPED_TRACE(expected.bpc);
        const uint32_t bpc = expected.bpc;
        const uint32_t rowBytes = (2 * 4 + 1) * bpc;  // one channel of padding per row
        std::vector<uint8_t> host(rowBytes * 2, 0xA5);
        output.releaseImage();
        output.rebuild(accumulation, rowBytes, rowBytes * 2, kernels);
        hostsim::DebugOutput debug;
        output.write(kernels, pixel_buffer{rowBytes, bpc, 2, 2, host.data()}, static_cast<int32_t>(bpc), 1.0f);
        ASSERT_EQ(debug.lines().size(), 1u);
        EXPECT_TRUE(std::regex_match(debug.lines()[0], timing)) << debug.lines()[0];
        for (size_t p = 0; p < 4; ++p) {
            const size_t at = (p / 2) * rowBytes + (p % 2) * 4 * bpc;
            for (size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(hostChannel(host, at + k * bpc, bpc), expected.argb[p][k], bpc == 4 ? 1e-5 : 0)
                    << "pixel " << p << " channel " << k;
        }
    }
}

TEST_F(GlClInterop, WriteOutputTakesTheGammaOfEachCallAndTheTargetOfTheLastRebuild) {
    const GLuint first = makeTexture(2, 2, outputPixels);
    const float grey[4] = {0.25f, 0.25f, 0.25f, 1};
    const GLuint second = makeTexture(1, 1, grey);
    OpenClOutput output(*context);
    std::vector<uint8_t> host(8 * 2, 0);
    output.rebuild(first, 8, 16, kernels);
    output.write(kernels, pixel_buffer{8, 1, 2, 2, host.data()}, 1, 0.5f);
    EXPECT_EQ(std::vector<uint8_t>(host.begin() + 8, host.begin() + 12), (std::vector<uint8_t>{0, 127, 180, 220}))
        << "the alpha-0 pixel through gamma 0.5";

    output.releaseImage();
    output.rebuild(second, 4, 4, kernels);
    output.write(kernels, pixel_buffer{4, 1, 1, 1, host.data()}, 1, 1.0f);
    EXPECT_EQ(std::vector<uint8_t>(host.begin(), host.begin() + 4), (std::vector<uint8_t>{255, 63, 63, 63}));
}

TEST_F(GlClInterop, WriteOutputOfAnUnknownChannelWidthLeavesTheHostBufferAlone) {
    const GLuint accumulation = makeTexture(2, 2, outputPixels);
    OpenClOutput output(*context);
    output.rebuild(accumulation, 8, 16, kernels);
    std::vector<uint8_t> host(16, 0xA5);
    hostsim::DebugOutput debug;
    output.write(kernels, pixel_buffer{8, 3, 2, 2, host.data()}, 3, 1.0f);
    EXPECT_EQ(host, std::vector<uint8_t>(16, 0xA5));
    ASSERT_EQ(debug.lines().size(), 1u);
    EXPECT_EQ(debug.lines()[0].rfind("Output Render: ", 0), 0u) << debug.lines()[0];
}

// Host layers through the input kernel into a texture and back out through the output job: the texture's
// half floats keep 8-bit codes exactly, but only about 11 bits of a 16-bit code.
TEST_F(GlClInterop, UploadedLayersComeBackThroughTheOutput) {
    const uint32_t width = 5, height = 3;
    for (uint32_t bpc : {1u, 2u, 4u}) {
        SCOPED_TRACE(bpc);
        const double full = bpc == 1 ? 255 : bpc == 2 ? 32767 : 1;
        const uint32_t rowBytes = (width * 4 + 2) * bpc;
        std::vector<uint8_t> layer(rowBytes * height, 0);
        std::vector<float> expectedTexels;
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                const double argb[4] = {full, full * (x + 1) / 8, full * (y + 1) / 4, full * (x + y) / 16};
                for (int k = 0; k < 4; ++k) {
                    const size_t at = y * rowBytes + (x * 4 + k) * bpc;
                    if (bpc == 1) layer[at] = static_cast<uint8_t>(argb[k]);
                    if (bpc == 2) {
                        const auto v = static_cast<uint16_t>(argb[k]);
                        std::memcpy(&layer[at], &v, 2);
                    }
                    if (bpc == 4) {
                        const auto v = static_cast<float>(argb[k]);
                        std::memcpy(&layer[at], &v, 4);
                    }
                }
                for (int k : {1, 2, 3, 0})
                    expectedTexels.push_back(static_cast<float>((bpc == 4 ? argb[k] : std::floor(argb[k])) / full));
            }
        }
        const GLuint texture = makeTexture(width, height, nullptr);
        uploadPixels(*context, kernels, pixel_buffer{rowBytes, bpc, width, height, layer.data()}, texture);
        const std::vector<float> texels = textureContent<float>(texture, width * height * 4, GL_FLOAT);
        for (size_t i = 0; i < texels.size(); ++i)
            EXPECT_NEAR(texels[i], expectedTexels[i], 1e-3) << "texel value " << i;

        OpenClOutput output(*context);
        output.rebuild(texture, rowBytes, rowBytes * height, kernels);
        std::vector<uint8_t> back(layer.size(), 0);
        output.write(kernels, pixel_buffer{rowBytes, bpc, width, height, back.data()}, static_cast<int32_t>(bpc), 1);
        const double tolerance = bpc == 1 ? 1 : bpc == 2 ? 16 : 1e-3;
        for (uint32_t y = 0; y < height; ++y)
            for (size_t b = 0; b < width * 4 * bpc; b += bpc)
                EXPECT_NEAR(hostChannel(back, y * rowBytes + b, bpc), hostChannel(layer, y * rowBytes + b, bpc),
                            tolerance)
                    << "row " << y << " byte " << b;
    }
}

}  // namespace
