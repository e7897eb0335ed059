// The pixel I/O kernels on the machine's OpenCL device, on images and buffers made directly.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "HostChannel.h"
#include "DebugOutput.h"
#include "OpenClTestContext.h"
#include "shader_compile_exception.h"

namespace {

constexpr uint8_t untouched = 0xA5;  // fills buffers so that bytes a kernel must not write can be checked

void writeChannel(std::vector<uint8_t>& bytes, size_t offset, uint32_t bpc, double value) {
    if (bpc == 1) {
        bytes[offset] = static_cast<uint8_t>(value);
    } else if (bpc == 2) {
        const auto v = static_cast<uint16_t>(value);
        std::memcpy(&bytes[offset], &v, 2);
    } else {
        const auto v = static_cast<float>(value);
        std::memcpy(&bytes[offset], &v, 4);
    }
}

class PixelKernels : public OpenClTest {
protected:
    // Runs the output kernel for bpc over an image of rgba floats into a buffer of rowBytes x height.
    std::vector<uint8_t> runOutput(uint32_t bpc, const std::vector<float>& rgba, size_t width, size_t height,
                                   uint32_t rowBytes, float gamma) {
        ClMem image(cl(), makeImage(rgba, width, height, CL_MEM_READ_ONLY));
        ClMem buffer(cl(), makeBuffer(std::vector<uint8_t>(size_t{rowBytes} * height, untouched)));
        const cl_kernel kernel = kernels.output[pixelKernelIndex(bpc)];
        const cl_mem imageMem = image.get(), bufferMem = buffer.get();
        EXPECT_EQ(cl().clSetKernelArg(kernel, 0, sizeof imageMem, &imageMem), CL_SUCCESS);
        EXPECT_EQ(cl().clSetKernelArg(kernel, 1, sizeof bufferMem, &bufferMem), CL_SUCCESS);
        EXPECT_EQ(cl().clSetKernelArg(kernel, 2, sizeof rowBytes, &rowBytes), CL_SUCCESS);
        EXPECT_EQ(cl().clSetKernelArg(kernel, 3, sizeof gamma, &gamma), CL_SUCCESS);
        run(kernel, width, height);
        return readBuffer(buffer.get(), size_t{rowBytes} * height);
    }

    // Runs the input kernel for bpc over host bytes into a float image, returned as RGBA floats.
    std::vector<float> runInput(uint32_t bpc, const std::vector<uint8_t>& host, size_t width, size_t height,
                                uint32_t rowBytes) {
        ClMem image(cl(), makeImage(std::vector<float>(width * height * 4, -1.0f), width, height, CL_MEM_READ_WRITE));
        ClMem buffer(cl(), makeBuffer(host));
        const cl_kernel kernel = kernels.input[pixelKernelIndex(bpc)];
        const cl_mem imageMem = image.get(), bufferMem = buffer.get();
        EXPECT_EQ(cl().clSetKernelArg(kernel, 0, sizeof imageMem, &imageMem), CL_SUCCESS);
        EXPECT_EQ(cl().clSetKernelArg(kernel, 1, sizeof bufferMem, &bufferMem), CL_SUCCESS);
        EXPECT_EQ(cl().clSetKernelArg(kernel, 2, sizeof rowBytes, &rowBytes), CL_SUCCESS);
        run(kernel, width, height);
        return readImage(image.get(), width, height);
    }
};

struct output_case {
    const char* what;
    uint32_t bpc;
    float rgba[4];
    float gamma;
    double argb[4];  // expected host channels
};

const output_case outputCases[] = {
    {"half-covered grey, 8-bit", 1, {0.25f, 0.25f, 0.25f, 0.5f}, 1, {127, 127, 127, 127}},
    {"half-covered grey, 16-bit", 2, {0.25f, 0.25f, 0.25f, 0.5f}, 1, {16383, 16383, 16383, 16383}},
    {"half-covered grey, 32-bit", 4, {0.25f, 0.25f, 0.25f, 0.5f}, 1, {0.5, 0.5, 0.5, 0.5}},
    {"opaque white, 8-bit", 1, {1, 1, 1, 1}, 1, {255, 255, 255, 255}},
    {"opaque white, 16-bit", 2, {1, 1, 1, 1}, 1, {32767, 32767, 32767, 32767}},
    {"opaque white, 32-bit", 4, {1, 1, 1, 1}, 1, {1, 1, 1, 1}},
    {"alpha 0 is not divided, 8-bit", 1, {0.25f, 0.5f, 0.75f, 0}, 1, {0, 63, 127, 191}},
    {"alpha 0 is not divided, 16-bit", 2, {0.25f, 0.5f, 0.75f, 0}, 1, {0, 8191, 16383, 24575}},
    {"alpha 0 is not divided, 32-bit", 4, {0.25f, 0.5f, 0.75f, 0}, 1, {0, 0.25, 0.5, 0.75}},
    {"transparent black stays 0, 32-bit", 4, {0, 0, 0, 0}, 1 / 2.2f, {0, 0, 0, 0}},
    {"transparent black stays 0, 8-bit", 1, {0, 0, 0, 0}, 1 / 2.2f, {0, 0, 0, 0}},
    {"gamma applies after un-premultiplying, 8-bit", 1, {0.125f, 0.125f, 0.5f, 0.5f}, 0.5f, {127, 127, 127, 255}},
    {"gamma 1/2.2, 32-bit", 4, {0.25f, 0.5f, 1, 1}, 1 / 2.2f, {1, 0.53252, 0.72974, 1}},
    {"alpha above 1 is clamped before dividing, 8-bit", 1, {0.5f, 0.5f, 0.5f, 2}, 1, {255, 127, 127, 127}},
    {"colour above alpha saturates, 16-bit", 2, {1, 0.5f, 0.5f, 0.5f}, 1, {16383, 32767, 32767, 32767}},
    {"negative alpha counts as 0, 8-bit", 1, {0.5f, 0.5f, 0.5f, -1}, 1, {0, 127, 127, 127}},
    // What drawing may leave in the half-float target, and powers that would leave float range: the float
    // output stays finite.
    {"NaN counts as 0, 32-bit", 4, {std::nanf(""), 0.5f, 0.5f, 1}, 1, {1, 0, 0.5, 0.5}},
    {"infinity is the largest half float, 32-bit", 4, {INFINITY, -INFINITY, 0.5f, 1}, 1, {1, 65504, 0, 0.5}},
    {"a negative colour counts as 0, 32-bit", 4, {-0.5f, 0.5f, 0.5f, 1}, 2.2f, {1, 0, 0.2176376, 0.2176376}},
    {"a gamma of 100 stays below float range, 32-bit", 4, {65504, 2, 0.5f, 1}, 100,
     {1, 3.3793e38, 1.2676506e30, 7.888609e-31}},
};

TEST_F(PixelKernels, OutputConvertsPerChannelWidth) {
    for (const output_case& c : outputCases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> out =
            runOutput(c.bpc, {c.rgba, c.rgba + 4}, 1, 1, 4 * c.bpc, c.gamma);
        for (int k = 0; k < 4; ++k) {
            if (c.bpc == 4)
                EXPECT_NEAR(hostChannel(out, k * c.bpc, c.bpc), c.argb[k], std::max(1e-5, 1e-4 * std::abs(c.argb[k])))
                    << "channel " << k;
            else
                EXPECT_EQ(hostChannel(out, k * c.bpc, c.bpc), c.argb[k]) << "channel " << k;
        }
    }
}

// Rows padded by one channel, which also leaves 16- and 32-bit pixels off their vector alignment.
TEST_F(PixelKernels, OutputHonoursRowBytesAndLeavesThePaddingAlone) {
    const size_t width = 3, height = 2;
    std::vector<float> rgba;
    for (size_t i = 0; i < width * height; ++i) {
        const float v = static_cast<float>(i + 1) / 8.0f;
        rgba.insert(rgba.end(), {v, v / 2, v / 4, 1});
    }
    for (uint32_t bpc : {1u, 2u, 4u}) {
        SCOPED_TRACE(bpc);
        const uint32_t rowBytes = static_cast<uint32_t>(width * 4 + 1) * bpc;
        const std::vector<uint8_t> out = runOutput(bpc, rgba, width, height, rowBytes, 1);
        const double scale = bpc == 1 ? 255 : bpc == 2 ? 32767 : 1;
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                const float* p = &rgba[(y * width + x) * 4];
                const size_t at = y * rowBytes + x * 4 * bpc;
                EXPECT_NEAR(hostChannel(out, at, bpc), scale, bpc == 4 ? 1e-6 : 1) << x << "," << y;
                EXPECT_NEAR(hostChannel(out, at + bpc, bpc), p[0] * scale, bpc == 4 ? 1e-5 : 1) << x << "," << y;
                EXPECT_NEAR(hostChannel(out, at + 3 * bpc, bpc), p[2] * scale, bpc == 4 ? 1e-5 : 1) << x << "," << y;
            }
            for (size_t b = width * 4 * bpc; b < rowBytes; ++b)
                EXPECT_EQ(out[y * rowBytes + b], untouched) << "padding byte " << b << " of row " << y;
        }
    }
}

struct input_case {
    const char* what;
    uint32_t bpc;
    double argb[4];
    float rgba[4];  // expected texel
};

const input_case inputCases[] = {
    {"8-bit", 1, {255, 0, 128, 255}, {0, 0.50196f, 1, 1}},
    {"16-bit", 2, {32767, 0, 16384, 32768}, {0, 0.50002f, 1.00003f, 1}},
    {"32-bit", 4, {0.5, -0.25, 2, 0.125}, {-0.25f, 2, 0.125f, 0.5f}},
};

TEST_F(PixelKernels, InputTurnsHostOrderIntoRgbaFloats) {
    for (const input_case& c : inputCases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> host(4 * c.bpc);
        for (int k = 0; k < 4; ++k) writeChannel(host, k * c.bpc, c.bpc, c.argb[k]);
        const std::vector<float> texel = runInput(c.bpc, host, 1, 1, 4 * c.bpc);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(texel[k], c.rgba[k], 1e-5) << "channel " << k;
    }
}

// Opaque pixels, since the output un-premultiplies what the input stored as it came.
TEST_F(PixelKernels, InputThenOutputGivesTheImageBack) {
    const size_t width = 17, height = 5;
    std::mt19937 random(7);
    for (uint32_t bpc : {1u, 2u, 4u}) {
        SCOPED_TRACE(bpc);
        const double full = bpc == 1 ? 255 : bpc == 2 ? 32768 : 1;
        const uint32_t rowBytes = static_cast<uint32_t>(width * 4 + 3) * bpc;
        std::vector<uint8_t> host(size_t{rowBytes} * height, 0);
        std::uniform_int_distribution<int> code(0, static_cast<int>(bpc == 4 ? 4096 : full));
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                const size_t at = y * rowBytes + x * 4 * bpc;
                writeChannel(host, at, bpc, full);
                for (int k = 1; k < 4; ++k)
                    writeChannel(host, at + k * bpc, bpc, bpc == 4 ? code(random) / 4096.0 : code(random));
            }
        }
        const std::vector<float> image = runInput(bpc, host, width, height, rowBytes);
        const std::vector<uint8_t> back = runOutput(bpc, image, width, height, rowBytes, 1);
        for (size_t y = 0; y < height; ++y) {
            for (size_t x = 0; x < width; ++x) {
                for (int k = 0; k < 4; ++k) {
                    const size_t at = y * rowBytes + (x * 4 + k) * bpc;
                    // 16-bit full scale (32768) comes back as 32767.
                    const double expected = std::min(hostChannel(host, at, bpc), bpc == 2 ? 32767.0 : 1e9);
                    EXPECT_NEAR(hostChannel(back, at, bpc), expected, bpc == 4 ? 1e-6 : 1)
                        << "pixel " << x << "," << y << " channel " << k;
                }
            }
        }
    }
}

using OpenClPrograms = OpenClTest;

TEST_F(OpenClPrograms, DefinesComeBeforeTheSource) {
    const cl_program program =
        buildProgram(*context, *registry, "kernel void sum(global int* out) { out[0] = A + B; }", {"A 40", "B 2"});
    const cl_kernel kernel = createKernel(*context, *registry, program, "sum");
    ClMem buffer(cl(), makeBuffer(std::vector<uint8_t>(4, 0)));
    const cl_mem mem = buffer.get();
    ASSERT_EQ(cl().clSetKernelArg(kernel, 0, sizeof mem, &mem), CL_SUCCESS);
    run(kernel, 1, 1);
    const std::vector<uint8_t> out = readBuffer(buffer.get(), 4);
    int32_t value;
    std::memcpy(&value, out.data(), 4);
    EXPECT_EQ(value, 42);
}

TEST_F(OpenClPrograms, ABuildErrorSendsTheLogToTheDebugger) {
    hostsim::DebugOutput debug;
    try {
        buildProgram(*context, *registry, "kernel void broken(global int* out) { out[0] = undeclared; }", {});
        FAIL() << "a broken source built";
    } catch (const shader_compile_exception& e) {
        EXPECT_STREQ(e.what(), "could not build program");
    }
    std::string log;
    for (const std::string& line : debug.lines()) log += line + "\n";
    EXPECT_NE(log.find("undeclared"), std::string::npos) << log;
}

TEST_F(OpenClPrograms, AMissingKernelCannotBeCreated) {
    const cl_program program = buildProgram(*context, *registry, "kernel void present(global int* out) {}", {});
    try {
        createKernel(*context, *registry, program, "absent");
        FAIL() << "made a kernel that the program lacks";
    } catch (const shader_compile_exception& e) {
        EXPECT_STREQ(e.what(), "could not create kernel");
    }
}

}  // namespace
