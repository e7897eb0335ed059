#include "EntryPoint.h"

namespace installer {

bool shell_launch(SHELLEXECUTEINFOW& request) { return ShellExecuteExW(&request) != 0; }

bool is_elevated_copy(std::wstring_view command_line) { return command_line.find(L"/UAC") != std::wstring_view::npos; }

std::wstring own_program_path() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        // A full buffer means the path was cut short.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

int run_entry(std::wstring_view command_line, const std::function<void()>& run_window, const Launcher& launch) {
    if (is_elevated_copy(command_line)) {
        run_window();
        return 0;
    }
    const std::wstring path = own_program_path();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.lpVerb = L"runas";
    request.lpFile = path.c_str();
    request.lpParameters = L"/UAC";
    request.nShow = SW_SHOWDEFAULT;
    return launch(request) ? 0 : 1;
}

}  // namespace installer
