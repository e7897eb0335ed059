#include <gtest/gtest.h>

#include <GL/glew.h>

#include <atomic>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Renderer.h"
#include "RendererThread.h"
#include "StartGate.h"
#include "SceneRenderer.h"
#include "WatchedTest.h"

namespace {

// A thread whose jobs need no GL: tests of the hand-off itself.
std::unique_ptr<Renderer> noRenderer() { return nullptr; }

struct job_failure {
    int code;
};

TEST(RendererThread, AJobThatThrowsHandsItsExceptionToThePosterAndEndsTheThread) {
    RendererThread thread(noRenderer);
    int runs = 0;
    thread.postAndWait([&] { ++runs; });
    ASSERT_EQ(runs, 1);
    EXPECT_FALSE(thread.hasEnded());

    try {
        thread.postAndWait([] { throw job_failure{42}; });
        ADD_FAILURE() << "the job's exception did not reach its poster";
    } catch (const job_failure& failure) {
        EXPECT_EQ(failure.code, 42);
    }
    EXPECT_TRUE(thread.hasEnded());

    for (int i = 0; i < 3; ++i) EXPECT_NO_THROW(thread.postAndWait([&] { ++runs; }));
    EXPECT_EQ(runs, 1) << "a job posted after the end ran";
}

TEST(RendererThread, ARendererThatCannotBeMadeFailsTheConstructor) {
    // Repeated: the thread often ends before the constructor starts to wait, and sometimes after.
    for (int i = 0; i < 50; ++i) {
        try {
            SceneRenderer renderer([]() -> std::unique_ptr<Renderer> { throw std::runtime_error("no GL here"); });
            ADD_FAILURE() << "the constructor did not throw";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "no GL here");
        }
    }
}

TEST(RendererThread, DestroyingAfterTheThreadHasEndedReturns) {
    auto renderer = std::make_unique<SceneRenderer>(noRenderer);
    EXPECT_THROW(renderer->thread().postAndWait([] { throw std::runtime_error("job failed"); }),
                 std::runtime_error);
    ASSERT_TRUE(renderer->thread().hasEnded());
    // The failed job's error is still stored: destruction must neither wait for nor rethrow it.
    renderer.reset();
}

TEST(RendererThread, TwoPostersAtOnceEachSeeTheirOwnJobDone) {
    for (int round = 0; round < 100; ++round) {
        RendererThread thread(noRenderer);
        StartGate start(2);
        std::atomic<int> lost{0};
        auto poster = [&] {
            start.arrive_and_wait();
            for (int i = 0; i < 20; ++i) {
                bool ran = false;
                thread.postAndWait([&] { ran = true; });
                if (!ran) ++lost;
            }
        };
        std::thread first(poster), second(poster);
        first.join();
        second.join();
        ASSERT_EQ(lost, 0) << "round " << round;
    }
}

TEST(RendererThread, AJobsFailureReachesOnlyItsOwnPoster) {
    for (int round = 0; round < 100; ++round) {
        RendererThread thread(noRenderer);
        StartGate start(2);
        bool failingPosterCaught = false;
        bool otherPosterCaught = false;
        std::thread failing([&] {
            start.arrive_and_wait();
            try {
                thread.postAndWait([] { throw std::runtime_error("job failed"); });
            } catch (const std::runtime_error&) {
                failingPosterCaught = true;
            }
        });
        std::thread other([&] {
            start.arrive_and_wait();
            try {
                thread.postAndWait([] {});
            } catch (...) {
                otherPosterCaught = true;
            }
        });
        failing.join();
        other.join();
        ASSERT_TRUE(failingPosterCaught) << "round " << round;
        ASSERT_FALSE(otherPosterCaught) << "round " << round;
    }
}

using RendererThreadWithGl = WatchedTest;

TEST_F(RendererThreadWithGl, JobsRunOnOneThreadWithTheContextCurrentUntilAJobFails) {
    RendererThread thread;
    ASSERT_NE(thread.renderer(), nullptr);
    std::thread::id first, second;
    HGLRC context = nullptr;
    thread.postAndWait([&] {
        first = std::this_thread::get_id();
        context = wglGetCurrentContext();
    });
    thread.postAndWait([&] { second = std::this_thread::get_id(); });
    EXPECT_NE(first, std::this_thread::get_id());
    EXPECT_EQ(first, second);
    EXPECT_NE(context, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the poster's thread has no context of its own";

    EXPECT_THROW(thread.postAndWait([] { throw std::runtime_error("job failed"); }), std::runtime_error);
    EXPECT_EQ(thread.renderer(), nullptr) << "the Renderer is deleted when the thread ends";
}

TEST(ModelMatrix, ScalesThenRotatesThenMoves) {
    const float position[4] = {1, 2, 3, 99};
    const qssdk::mat4 plain = modelMatrix(position, qssdk::quaternion{0, 0, 0, 1}, 2);
    const float expected[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(plain[i], expected[i]) << i;

    // A quarter turn about z: the rotation scales with the model, the position stays as it is.
    const float s = std::sqrt(0.5f);
    const qssdk::quaternion turn{0, 0, s, s};
    const qssdk::mat4 rotation = qssdk::mat4_from_quaternion(turn);
    const qssdk::mat4 turned = modelMatrix(position, turn, 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_NEAR(turned.at(row, column), 3 * rotation.at(row, column), 1e-6f) << row << column;
    EXPECT_FLOAT_EQ(turned[12], 1);
    EXPECT_FLOAT_EQ(turned[13], 2);
    EXPECT_FLOAT_EQ(turned[14], 3);
    EXPECT_FLOAT_EQ(turned[15], 1);
}

}  // namespace
