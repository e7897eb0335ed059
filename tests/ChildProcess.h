// Runs a program of the build as a child process and collects its standard output and error (merged, or
// the output alone), its exit code, and whether it had to be stopped for running too long.
#pragma once

#include <string>

#include <windows.h>

struct child_result {
    DWORD exitCode = 0;
    std::string output;
    bool timedOut = false;
};

inline child_result runChild(std::wstring commandLine, DWORD timeoutMs = 60000, bool withErrors = true) {
    child_result result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {~0u, "cannot make a pipe", false};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = writeEnd;
    startup.hStdError = withErrors ? writeEnd : nul;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    CloseHandle(nul);
    if (!started) {
        CloseHandle(readEnd);
        return {~0u, "cannot start the program", false};
    }
    // The pipe is read on its own thread so a child that fills it can never stall, and the wait can end.
    struct reader_state {
        HANDLE pipe;
        std::string text;
    } state{readEnd, {}};
    HANDLE reader = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* s = static_cast<reader_state*>(p);
            char buffer[4096];
            DWORD count = 0;
            while (ReadFile(s->pipe, buffer, sizeof buffer, &count, nullptr) && count > 0) s->text.append(buffer, count);
            return 0;
        },
        &state, 0, nullptr);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        result.timedOut = true;
        TerminateProcess(process.hProcess, 99);  // only this child, by its own handle
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    CloseHandle(readEnd);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    result.output = std::move(state.text);
    return result;
}
