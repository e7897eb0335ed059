#include "EntryPoint.h"

#include <exception>

#include "utf.h"

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

void show_error(const std::string& message) {
    MessageBoxW(nullptr, qssdk::utf8_to_utf16(message).c_str(), L"QS Pellux for After Effects Installer",
                MB_OK | MB_ICONERROR);
}

int run_entry(std::wstring_view command_line, const std::function<void()>& run_window, const Launcher& launch,
              const ErrorReport& report, const SingleCopy& copies) {
    if (is_elevated_copy(command_line)) {
        // Two copies started together both get here: the second to claim gives way.
        if (!copies.claim()) {
            copies.bring_forward();
            return exit_ok;
        }
        try {
            run_window();
        } catch (const std::exception& error) {
            report(std::string("The installer stopped because of an error:\n\n") + error.what());
            return exit_window_failed;
        } catch (...) {
            report("The installer stopped because of an unknown error.");
            return exit_window_failed;
        }
        return exit_ok;
    }
    if (copies.held_elsewhere()) {
        copies.bring_forward();
        return exit_ok;
    }
    const std::wstring path = own_program_path();
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.lpVerb = L"runas";
    request.lpFile = path.c_str();
    request.lpParameters = L"/UAC";
    request.nShow = SW_SHOWDEFAULT;
    return launch(request) ? exit_ok : exit_launch_failed;
}

}  // namespace installer
