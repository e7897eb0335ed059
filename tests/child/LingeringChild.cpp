// A child for the tests of runChild. Run with no argument it starts a copy of itself that inherits its
// standard output and outlives it (as Wine's desktop process can outlive the program it was started from),
// then writes a known text and that copy's process id in one write, and ends at once: most of the text is
// still in the pipe when it has ended. "hang" makes it wait until it is stopped. Each copy ends by itself
// after a minute, so that nothing it starts outlives a broken run.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr DWORD lifetimeMs = 60000;
constexpr int textLines = 2000;  // many reads' worth

// The copy's process id, 0 when it could not start.
DWORD startLingeringCopy() {
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
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "linger") == 0 || std::strcmp(argv[1], "hang") == 0)) {
        Sleep(lifetimeMs);
        return 0;
    }
    const DWORD copy = startLingeringCopy();
    std::string text;
    char line[64];
    for (int i = 0; i < textLines; ++i) {
        std::snprintf(line, sizeof line, "line %04d of the child's output\n", i);
        text += line;
    }
    std::snprintf(line, sizeof line, "lingering %lu\n", copy);
    text += line;
    text += "end of the child's output\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return copy != 0 && written == text.size() ? 0 : 2;
}
