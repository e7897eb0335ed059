// The simulated host's start on a thread that cannot make windows on its desktop, as a program that joined
// a desktop on its way out finds: the host joins the default desktop afresh and starts there.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "SimulatedHost.h"

namespace {

TEST(HostStart, AThreadThatCannotMakeWindowsOnItsDesktopStartsTheHostOnTheDefaultOne) {
    std::string failure;
    bool blockedBefore = false, started = false;
    PF_Err setUp = PF_Err_NONE, setDown = PF_Err_NONE;
    size_t dialogs = 0;
    std::thread([&] {
        // A handle to the desktop without the right to make windows there.
        const std::unique_ptr<HDESK__, decltype(&CloseDesktop)> unusable(
            OpenDesktopW(L"Default", 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE), &CloseDesktop);
        if (!unusable || !SetThreadDesktop(unusable.get())) {
            failure = "cannot put the thread on the unusable desktop handle";
            return;
        }
        const HWND probe = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
        blockedBefore = probe == nullptr;
        if (probe) DestroyWindow(probe);
        try {
            hostsim::SimulatedHost host;
            started = IsWindow(host.mainWindow()) != FALSE;
            setUp = host.send(PF_Cmd_GLOBAL_SETUP);
            setDown = host.send(PF_Cmd_GLOBAL_SETDOWN);
            dialogs = host.dialogs().seen().size();
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }).join();
    ASSERT_TRUE(failure.empty()) << failure;
    ASSERT_TRUE(blockedBefore) << "the thread could make windows: the test shows nothing";
    EXPECT_TRUE(started);
    EXPECT_EQ(setUp, PF_Err_NONE);
    EXPECT_EQ(setDown, PF_Err_NONE);
    EXPECT_EQ(dialogs, 0u);
}

}  // namespace
