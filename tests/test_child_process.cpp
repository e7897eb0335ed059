// runChild, the tests' way to run a program of the build: it returns once the child has ended, with all
// the child wrote, even while a process the child started holds the child's output open.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "ChildProcess.h"

namespace {

TEST(ChildProcess, ReturnsAtTheChildsEndWithAllItWroteWhileItsOwnChildHoldsTheOutput) {
    const child_result result = runChild(L"lingering_child.exe", 60000);
    ASSERT_FALSE(result.timedOut) << result.output.substr(0, 200);
    EXPECT_EQ(result.exitCode, 0u);

    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "line %04d of the child's output\n", i);
        expected += line;
    }
    ASSERT_TRUE(result.output.starts_with(expected))
        << result.output.size() << " bytes, of which the first " << expected.size() << " should be the lines";
    const size_t at = result.output.find("lingering ", expected.size());
    ASSERT_NE(at, std::string::npos) << result.output.substr(expected.size());
    EXPECT_EQ(result.output.substr(result.output.find('\n', at) + 1), "end of the child's output\n");

    // The process the child left behind still runs: the run did not wait for it to let go of the pipe.
    const DWORD lingering = std::stoul(result.output.substr(at + 10));
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, lingering);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(process, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(process);
}

// After the child's end, what it left in the pipe is read without waiting for the pipe's end, which a
// process holding the write end would put off for ever; here this test holds it.
TEST(ChildProcess, WhatTheChildLeftInThePipeIsReadWithoutWaitingForMore) {
    using namespace child_process_detail;
    child_pipe pipe = makeChildPipe();
    ASSERT_NE(pipe.readEnd.h, nullptr);
    ASSERT_NE(pipe.writeEnd.h, nullptr);
    struct reading {
        output_reader reader;
        HANDLE done;
    } state{output_reader(pipe.readEnd.h), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    state.reader.start();  // pending, as while the child ran
    // More than one read takes: part goes to the pending read, the rest stays in the pipe.
    const std::string written(20000, 'x');
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(pipe.writeEnd.h, written.data(), static_cast<DWORD>(written.size()), &count, nullptr));
    // Drained on a thread of its own, so that a drain that waits can be ended: by closing the write end.
    HANDLE drainer = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* s = static_cast<reading*>(p);
            s->reader.drain();
            SetEvent(s->done);
            return 0;
        },
        &state, 0, nullptr);
    const bool drained = WaitForSingleObject(state.done, 10000) == WAIT_OBJECT_0;
    pipe.writeEnd.reset();
    WaitForSingleObject(drainer, INFINITE);
    CloseHandle(drainer);
    CloseHandle(state.done);
    EXPECT_TRUE(drained) << "the drain waited for the pipe's end";
    EXPECT_EQ(state.reader.text.size(), written.size());
}

TEST(ChildProcess, AChildThatRunsTooLongIsStoppedAtItsTimeLimit) {
    const child_result result = runChild(L"lingering_child.exe hang", 1000);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitCode, 99u);
}

}  // namespace
