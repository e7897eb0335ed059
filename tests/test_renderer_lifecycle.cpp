#include <windows.h>

#include <tlhelp32.h>

#include "HostFixture.h"

namespace {

size_t threadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    size_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

using RendererLifecycle = HostTest;

TEST_F(RendererLifecycle, GlobalSetupStartsTheRendererThreadAndSetdownEndsIt) {
    const size_t before = threadsOfThisProcess();
    ASSERT_GT(before, 0u);
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
        EXPECT_EQ(threadsOfThisProcess(), before + 1) << "round " << round << ": the renderer thread runs";
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETDOWN), PF_Err_NONE);
        // Not a moment later: the host may unload the module as soon as set-down returns.
        EXPECT_EQ(threadsOfThisProcess(), before) << "round " << round << ": a thread outlived set-down";
    }
    EXPECT_TRUE(host->dialogs().seen().empty());
}

}  // namespace
