// Fixtures for tests that call the renderer without the simulated host: a watcher dismisses every
// window the process opens (a "Shader Log" box, say) and notes it; GlTest also makes a GL 4.1 context
// current on the test thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GlContext.h"
#include "ModalWatcher.h"

class WatchedTest : public ::testing::Test {
protected:
    hostsim::ModalWatcher watcher{std::vector<HWND>{}};
};

class GlTest : public WatchedTest {
protected:
    void SetUp() override { context = std::make_unique<GlContext>(); }
    void TearDown() override { context.reset(); }

    std::unique_ptr<GlContext> context;
};
