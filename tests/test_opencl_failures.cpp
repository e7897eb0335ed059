// OpenCL failing in the renderer's frame jobs, one call at a time, through the OpenCL seam of the test
// builds (fault/OpenClFaults.cpp): each failure fails only its job, with a message that names the step and
// the error; nothing of the frame is left behind, the host's buffer is not written, no texture whose texels
// OpenCL did not write comes back, and the next job works.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "OpenClFaults.h"
#include "Renderer.h"
#include "SceneRenderer.h"
#include "WatchedTest.h"
#include "frame_exception.h"

namespace {

constexpr uint32_t width = 3, height = 2;
constexpr uint32_t rowBytes = (width * 4 + 5);  // 8-bit channels, five bytes of padding per row
constexpr uint8_t untouched = 0xA5;

class OpenClFailures : public WatchedTest {
protected:
    void onRenderer(const std::function<void(Renderer&)>& job) {
        Renderer* renderer = scene.thread().renderer();
        ASSERT_NE(renderer, nullptr);
        scene.thread().postAndWait([&] { job(*renderer); });
    }

    // The message of the job's failure; empty when it succeeded.
    std::string failureOf(const std::function<void(Renderer&)>& job) {
        try {
            onRenderer(job);
        } catch (const frame_exception& e) {
            return e.what();
        }
        return {};
    }

    render_data frame(uint32_t frameWidth) {
        render_data data{};
        data.output = {rowBytes, 1, frameWidth, height, host.data()};
        data.bytes_per_channel = 1;
        data.downsample_x = data.downsample_y = 1;
        return data;
    }

    // A frame of opaque red in the accumulation target.
    void drawRed(Renderer& r) {
        r.clear();
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        r.compositeSample(1.0f);
    }

    SceneRenderer scene;
    std::vector<uint8_t> host = std::vector<uint8_t>(rowBytes * height, untouched);
};

struct failing_step {
    opencl_call call;
    int which;  // the n-th call of that kind in the job
    const char* message;
};

TEST_F(OpenClFailures, AFailedOutputStepFailsItsJobAloneAndWritesNothing) {
    // Frames alternate between two widths, so that every begin-frame job makes the OpenCL objects anew.
    const failing_step beginSteps[] = {
        {opencl_call::createImage, 1,
         "failed to share a GL texture with OpenCL: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::createBuffer, 1,
         "failed to create the OpenCL output buffer: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::setKernelArg, 2,
         "failed to set the output kernel's buffer: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
    };
    const failing_step writeSteps[] = {
        {opencl_call::writeImage, 1,
         "failed to copy a GL texture into OpenCL: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::setKernelArg, 1,
         "failed to set the output kernel's gamma: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::runKernel, 1, "failed to run the output kernel: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::readBufferRect, 1,
         "failed to read the output back from OpenCL: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::finish, 1, "failed to finish the output: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
    };
    const auto errorOf = [](const failing_step& s) {
        return std::string(s.message).find("CL_OUT_OF_RESOURCES") != std::string::npos ? CL_OUT_OF_RESOURCES
                                                                                      : CL_MEM_OBJECT_ALLOCATION_FAILURE;
    };
    // The next frame draws red, exactly, with the host's row padding left alone.
    const auto expectRedFrame = [&](uint32_t frameWidth) {
        std::fill(host.begin(), host.end(), untouched);
        ASSERT_EQ(failureOf([&](Renderer& r) {
                      r.beginFrame(0, frame(frameWidth));
                      drawRed(r);
                      r.writeOutput(1.0f);
                  }),
                  "");
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < rowBytes; ++x) {
                const uint8_t expected = x >= frameWidth * 4 ? untouched : (x % 4 == 0 || x % 4 == 1) ? 255 : 0;
                ASSERT_EQ(host[y * rowBytes + x], expected) << "byte " << x << " of row " << y;
            }
    };

    uint32_t frameWidth = width;
    expectRedFrame(frameWidth);
    const int live = qs_test_live_opencl_memory();
    for (const failing_step& s : beginSteps) {
        SCOPED_TRACE(s.message);
        frameWidth = frameWidth == width ? width - 1 : width;
        qs_test_arm_opencl_fault(static_cast<int>(s.call), s.which, errorOf(s));
        EXPECT_EQ(failureOf([&](Renderer& r) { r.beginFrame(0, frame(frameWidth)); }), s.message);
        EXPECT_FALSE(scene.thread().hasEnded());
        EXPECT_EQ(qs_test_live_opencl_memory(), live - 2) << "the frame's image and buffer are gone";
        expectRedFrame(frameWidth);  // the same size again: what failed is made now
        EXPECT_EQ(qs_test_live_opencl_memory(), live);
    }
    for (const failing_step& s : writeSteps) {
        SCOPED_TRACE(s.message);
        std::fill(host.begin(), host.end(), untouched);
        qs_test_arm_opencl_fault(static_cast<int>(s.call), s.which, errorOf(s));
        EXPECT_EQ(failureOf([&](Renderer& r) {
                      r.beginFrame(0, frame(frameWidth));
                      drawRed(r);
                      r.writeOutput(1.0f);
                  }),
                  s.message);
        EXPECT_FALSE(scene.thread().hasEnded());
        if (s.call != opencl_call::finish) {  // the read-back came before the last step
            EXPECT_EQ(host, std::vector<uint8_t>(host.size(), untouched)) << "nothing reached the host's buffer";
        }
        EXPECT_EQ(qs_test_live_opencl_memory(), live);
        expectRedFrame(frameWidth);
    }
}

TEST_F(OpenClFailures, AFailedLayerUploadLeavesNoTextureAndTheNextUploadWorks) {
    const failing_step steps[] = {
        {opencl_call::createImage, 1,
         "failed to share a GL texture with OpenCL: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::createBuffer, 1,
         "failed to create the layer's OpenCL buffer: OpenCL error CL_MEM_OBJECT_ALLOCATION_FAILURE (-4)"},
        {opencl_call::writeBuffer, 1, "failed to copy the layer into OpenCL: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::setKernelArg, 3,
         "failed to set the input kernel's row bytes: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::runKernel, 1, "failed to run the input kernel: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::readImage, 1,
         "failed to copy an OpenCL image into its GL texture: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
        {opencl_call::finish, 1, "failed to finish the layer upload: OpenCL error CL_OUT_OF_RESOURCES (-5)"},
    };
    // A 2 x 1 8-bit layer: opaque green, then half-transparent blue (alpha, red, green, blue).
    std::vector<uint8_t> layer = {255, 0, 255, 0, 128, 0, 0, 255, untouched, untouched};
    const pixel_buffer pixels{10, 1, 2, 1, layer.data()};
    const int live = qs_test_live_opencl_memory();
    for (const failing_step& s : steps) {
        SCOPED_TRACE(s.message);
        const int error = std::string(s.message).find("CL_OUT_OF_RESOURCES") != std::string::npos
                              ? CL_OUT_OF_RESOURCES
                              : CL_MEM_OBJECT_ALLOCATION_FAILURE;
        qs_test_arm_opencl_fault(static_cast<int>(s.call), s.which, error);
        GLuint before = 0;
        uint32_t texture = 1;
        const std::string failure = failureOf([&](Renderer& r) {
            glGenTextures(1, &before);
            texture = r.uploadLayerTexture(pixels);
        });
        EXPECT_EQ(failure, s.message);
        EXPECT_EQ(texture, 1u) << "no texture came back";
        GLboolean madeAndKept = GL_TRUE;
        onRenderer([&](Renderer&) {
            madeAndKept = glIsTexture(before + 1);
            glDeleteTextures(1, &before);
        });
        EXPECT_FALSE(madeAndKept) << "the texture the upload made is deleted";
        EXPECT_EQ(qs_test_live_opencl_memory(), live);
        EXPECT_FALSE(scene.thread().hasEnded());

        std::vector<float> texels(8);
        onRenderer([&](Renderer& r) {
            texture = r.uploadLayerTexture(pixels);
            glBindTexture(GL_TEXTURE_2D, texture);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
            glBindTexture(GL_TEXTURE_2D, 0);
            r.deleteTexture(texture);
        });
        const float expected[8] = {0, 1, 0, 1, 0, 0, 1, 128 / 255.0f};
        for (size_t i = 0; i < texels.size(); ++i) EXPECT_NEAR(texels[i], expected[i], 1e-3) << "texel value " << i;
    }
}

}  // namespace
