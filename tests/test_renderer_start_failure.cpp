// Run with the GL driver told to offer no more than OpenGL 4.0, so that the renderer cannot start.
#include <gtest/gtest.h>

#include <stdexcept>

#include "GlContext.h"
#include "ErrorPopupCheck.h"
#include "HostFixture.h"

namespace {

TEST(GlContextWithoutGl41, FailsWithTheStepThatFailed) {
    try {
        GlContext context;
        ADD_FAILURE() << "a context was made";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "failed to create OpenGL 4.1 context");
    }
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the legacy context is gone too";
}

using RendererStartFailure = HostTest;

TEST_F(RendererStartFailure, GlobalSetupReportsItWithTheEffectsName) {
    EXPECT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
    const auto windows = host->dialogs().seen();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(isErrorPopupShowing(*host, windows[0],
                                    "QS Pellux failed to initialize with error:\n\nfailed to create OpenGL 4.1 context"));
    // The object stays without a renderer; set-down (in TearDown) still works.
    EXPECT_NE(host->globalData(), nullptr);
}

TEST_F(RendererStartFailure, SequenceDataStillWorksWithoutARenderer) {
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
    const PF_Handle cache = host->sequenceData();
    ASSERT_NE(cache, nullptr);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_FLATTEN), PF_Err_NONE);
    EXPECT_FALSE(host->handles().isLive(cache));
    EXPECT_EQ(host->handles().size(host->sequenceData()), 8u);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_RESETUP), PF_Err_NONE);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
    EXPECT_EQ(host->handles().liveCount(), 1u) << "only the global data is left";
}

TEST_F(RendererStartFailure, SmartRenderWithoutARendererCancelsTheFrame) {
    host->comp().width = 64;
    host->comp().height = 32;
    ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_INTERNAL_STRUCT_DAMAGED);
    ASSERT_EQ(host->dialogs().seen().size(), 1u) << "the failed set-up was reported";
    ASSERT_EQ(host->send(PF_Cmd_PARAMS_SETUP), PF_Err_NONE);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);

    const hostsim::rendered_frame frame = host->renderFrame({0, 8, 1});
    EXPECT_EQ(frame.record.preRenderResult, PF_Err_NONE);
    EXPECT_TRUE(frame.record.renderSent);
    EXPECT_EQ(frame.record.renderResult, PF_Interrupt_CANCEL);
    bool untouched = true;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) untouched = untouched && frame.output->pixel(x, y).a == 0.0f;
    EXPECT_TRUE(untouched) << "nothing is drawn";
    EXPECT_EQ(host->dialogs().seen().size(), 1u) << "a cancelled frame shows no popup";
    EXPECT_EQ(host->handles().lockCount(host->sequenceData()), 0u);
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
}

}  // namespace
