// A child for the tests of runChild. Run with no argument it writes a known text to its standard output,
// starts a copy of itself that inherits that output and outlives it (as Wine's desktop process can outlive
// the program it was started from), says that copy's process id, and ends. "hang" makes it wait until it
// is stopped. Each copy ends by itself after a minute, so that nothing it starts outlives a broken run.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr DWORD lifetimeMs = 60000;
constexpr int textLines = 2000;  // far more than a pipe's buffer holds

int startLingeringCopy() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" linger";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return 2;
    std::printf("lingering %lu\n", process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "linger") == 0 || std::strcmp(argv[1], "hang") == 0)) {
        Sleep(lifetimeMs);
        return 0;
    }
    _setmode(_fileno(stdout), _O_BINARY);  // the lines as written, without carriage returns
    for (int i = 0; i < textLines; ++i) std::printf("line %04d of the child's output\n", i);
    const int result = startLingeringCopy();
    std::printf("end of the child's output\n");
    std::fflush(stdout);
    return result;
}
