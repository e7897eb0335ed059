// The program runs twice: the copy the user starts only relaunches itself elevated, with the marker "/UAC"
// as its parameters; the marked copy runs the installer window.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windows.h>
#include <shellapi.h>

namespace installer {

using Launcher = std::function<bool(SHELLEXECUTEINFOW&)>;

// ShellExecuteExW: true when the launch was accepted.
bool shell_launch(SHELLEXECUTEINFOW& request);

// The marker anywhere in the command line, case-sensitive, even inside a longer argument.
bool is_elevated_copy(std::wstring_view command_line);

// The exit code of the program: 0 after the window ran or the elevated copy was launched, 1 when the
// launch failed. The launching copy neither waits for the elevated one nor says anything of its own.
int run_entry(std::wstring_view command_line, const std::function<void()>& run_window,
              const Launcher& launch = shell_launch);

// The full path of the running executable, however long.
std::wstring own_program_path();

}  // namespace installer
