// Keeps the test session's desktop for as long as the session runs, as a Windows desktop always is.
//
// Wine closes a desktop a second after the last thread outside its desktop process leaves it: the name is
// dropped, the desktop process is told to quit, and the next program opens a new desktop and starts a new
// desktop process. Between test programs, and between the session's two test runs, that happened all the
// time, and a program that joins the desktop while it is being replaced joins one that is going away. The
// main thread of this program stays on the desktop, so it is not closed while the session runs.
//
// It writes "holding the desktop" once it is on the desktop with the desktop's window up, and ends when its
// standard input ends (the session closes it, or the session's shell is gone). Should the desktop's process
// end before that, the desktop closed (or its process was killed) under the tests: it says so on its standard
// error, joins the desktop afresh and holds that one (saying so again), and in the end exits with
// desktopLostExit.
#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int noDesktopExit = 2;
constexpr int desktopLostExit = 3;
constexpr wchar_t defaultDesktop[] = L"Default";

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
using Desktop = std::unique_ptr<HDESK__, decltype(&CloseDesktop)>;

DWORD WINAPI readToEnd(void*) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    return 0;
}

// The process that keeps the thread's desktop window, once that window is up (asking for it starts the
// process when none runs): null when there is none.
Handle desktopProcess(DWORD& processId) {
    processId = 0;
    if (const HWND window = GetDesktopWindow()) GetWindowThreadProcessId(window, &processId);
    return Handle(processId ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr, &CloseHandle);
}

}  // namespace

int main() {
    const Handle inputEnded(CreateThread(nullptr, 0, readToEnd, nullptr, 0, nullptr), &CloseHandle);
    DWORD processId = 0;
    Handle process = desktopProcess(processId);
    if (!inputEnded || !process) {
        std::fprintf(stderr, "desktop holder: no desktop to hold (error %lu)\n", GetLastError());
        return noDesktopExit;
    }
    std::printf("holding the desktop\n");
    std::fflush(stdout);
    Desktop joined(nullptr, &CloseDesktop);
    bool lost = false;
    for (;;) {
        const HANDLE ends[] = {inputEnded.get(), process.get()};
        if (WaitForMultipleObjects(process ? 2 : 1, ends, FALSE, INFINITE) == WAIT_OBJECT_0) break;
        lost = true;
        std::fprintf(stderr, "desktop holder: the desktop's process (%lu) ended while the session held it\n",
                     processId);
        // Opening the desktop by name gives the one new programs join; joining it drops the thread's record
        // of the old desktop's window. A desktop whose process was killed stays, and is held as it is.
        Desktop fresh(CreateDesktopW(defaultDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr), &CloseDesktop);
        if (fresh && SetThreadDesktop(fresh.get())) joined = std::move(fresh);
        process = desktopProcess(processId);
        if (process) {
            std::printf("holding the desktop\n");
            std::fflush(stdout);
        } else {
            std::fprintf(stderr, "desktop holder: the desktop has no process now\n");
        }
    }
    return lost ? desktopLostExit : 0;
}
