// The program the test session keeps its desktop with: it holds until its input ends, and says so when the
// desktop's process ends under it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "ChildProcess.h"

namespace {

using child_process_detail::owned_handle;

// The text without the line end the console's text mode writes.
std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

constexpr char holdingLine[] = "holding the desktop";
constexpr DWORD desktopLostExit = 3;  // the holder's exit code once its desktop's process ended under it
constexpr DWORD boundMs = 30000;

TEST(DesktopHolder, HoldsUntilItsInputEnds) {
    // runChild's input is NUL: it ends at once.
    const child_result result = runChild(L"desktop_holder.exe", boundMs);
    ASSERT_FALSE(result.timedOut) << result.output;
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_EQ(withoutLineEnd(result.output), holdingLine);
}

// The holder on a desktop of the test's own, so that the test can end that desktop's process without
// touching the session's.
TEST(DesktopHolder, SaysWhenTheDesktopsProcessEndsUnderIt) {
    const std::wstring desktopName = L"PelluxHolderTest" + std::to_wstring(GetCurrentProcessId());
    const std::unique_ptr<HDESK__, decltype(&CloseDesktop)> desktop(
        CreateDesktopW(desktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr), &CloseDesktop);
    ASSERT_TRUE(desktop) << GetLastError();

    child_process_detail::child_pipe output = child_process_detail::makeChildPipe();
    ASSERT_TRUE(output.readEnd.h && output.writeEnd.h);
    HANDLE inputRead = nullptr, inputWrite = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    ASSERT_TRUE(CreatePipe(&inputRead, &inputWrite, &inherit, 0));
    owned_handle inputReadEnd(inputRead), inputWriteEnd(inputWrite);
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);

    const std::wstring onDesktop = L"WinSta0\\" + desktopName;
    started_child holder = startChild(L"desktop_holder.exe", inputRead, output.writeEnd.h, output.writeEnd.h,
                                      onDesktop.c_str());
    ASSERT_TRUE(holder.process.h) << GetLastError();
    output.writeEnd.reset();
    inputReadEnd.reset();

    // Waits, bounded, until the holder has said it holds `times` times, or has ended.
    child_process_detail::output_reader reader(output.readEnd.h);
    auto holdings = [&] {
        size_t count = 0;
        for (size_t at = reader.text.find(holdingLine); at != std::string::npos;
             at = reader.text.find(holdingLine, at + 1))
            ++count;
        return count;
    };
    auto waitForHoldings = [&](size_t times) {
        reader.readWhileRunning(holder.process.h, GetTickCount64() + boundMs, [&] { return holdings() >= times; });
        return holdings();
    };
    ASSERT_EQ(waitForHoldings(1), 1u) << reader.text;
    ASSERT_EQ(withoutLineEnd(reader.text), holdingLine);

    // The desktop's process is told to quit, as Wine tells it when it closes the desktop.
    DWORD desktopProcessId = 0;
    std::thread([&] {
        if (!SetThreadDesktop(desktop.get())) return;
        const HWND window = GetDesktopWindow();
        GetWindowThreadProcessId(window, &desktopProcessId);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }).join();
    ASSERT_NE(desktopProcessId, 0u);
    const owned_handle desktopProcess(OpenProcess(SYNCHRONIZE, FALSE, desktopProcessId));
    if (desktopProcess.h) {
        ASSERT_EQ(WaitForSingleObject(desktopProcess.h, boundMs), WAIT_OBJECT_0);
    }

    // It holds a desktop again, and goes on until its input ends, as at the session's stop; then it says
    // what happened.
    ASSERT_EQ(waitForHoldings(2), 2u) << reader.text;
    EXPECT_EQ(WaitForSingleObject(holder.process.h, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    inputWriteEnd.reset();
    ASSERT_EQ(WaitForSingleObject(holder.process.h, boundMs), WAIT_OBJECT_0);
    reader.drain();
    DWORD exitCode = 0;
    GetExitCodeProcess(holder.process.h, &exitCode);
    EXPECT_EQ(exitCode, desktopLostExit) << reader.text;
    EXPECT_NE(reader.text.find("the desktop's process (" + std::to_string(desktopProcessId) +
                               ") ended while the session held it"),
              std::string::npos)
        << reader.text;
}

}  // namespace
