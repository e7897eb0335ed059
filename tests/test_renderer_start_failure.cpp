// Run with the GL driver told to offer no more than OpenGL 4.0, so that the renderer cannot start.
#include <gtest/gtest.h>

#include <stdexcept>

#include "GlContext.h"
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
    EXPECT_EQ(windows[0].title, "QS Pellux Exception");
    // A message box shows its line breaks as they are.
    EXPECT_EQ(windows[0].text, "QS Pellux failed to initialize with error:\n\nfailed to create OpenGL 4.1 context");
    // The object stays without a renderer; set-down (in TearDown) still works.
    EXPECT_NE(host->globalData(), nullptr);
}

}  // namespace
