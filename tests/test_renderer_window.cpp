// The renderer's hidden GL window and the other programs of the desktop: a broadcast to every top-level
// window (what settings changes and DDE send) must not wait for the renderer thread, which takes no
// messages while it waits for jobs.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <thread>

#include "SceneRenderer.h"

namespace {

TEST(GlContextWindow, ABroadcastFromAnotherThreadReturnsWhileARendererIsAlive) {
    SceneRenderer scene;
    ASSERT_NE(scene.thread().renderer(), nullptr);
    const UINT probe = RegisterWindowMessageW(L"QS Pellux broadcast probe");
    ASSERT_NE(probe, 0u);

    // Bounded: a window that never answers holds the broadcast for the timeout, then it goes on.
    constexpr UINT timeoutMs = 5000;
    LRESULT sent = 0;
    std::chrono::steady_clock::duration took{};
    std::thread sender([&] {
        const auto start = std::chrono::steady_clock::now();
        DWORD_PTR result = 0;
        sent = SendMessageTimeoutW(HWND_BROADCAST, probe, 0, 0, SMTO_NORMAL, timeoutMs, &result);
        took = std::chrono::steady_clock::now() - start;
    });
    sender.join();
    EXPECT_NE(sent, 0);
    EXPECT_LT(took, std::chrono::seconds(1))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    EXPECT_FALSE(scene.thread().hasEnded());
}

}  // namespace
