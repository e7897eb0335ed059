// The program runs twice: the copy the user starts only relaunches itself elevated, with the marker "/UAC"
// as its parameters; the marked copy runs the installer window.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windows.h>
#include <shellapi.h>

#include "SingleCopy.h"

namespace installer {

using Launcher = std::function<bool(SHELLEXECUTEINFOW&)>;
using ErrorReport = std::function<void(const std::string& message)>;

constexpr int exit_ok = 0;
constexpr int exit_launch_failed = 1;
constexpr int exit_window_failed = 2;

// ShellExecuteExW: true when the launch was accepted.
bool shell_launch(SHELLEXECUTEINFOW& request);

// A message box of its own, since the installer window may be what failed.
void show_error(const std::string& message);

// The marker anywhere in the command line, case-sensitive, even inside a longer argument.
bool is_elevated_copy(std::wstring_view command_line);

// The exit code of the program: exit_ok after the window ran or the elevated copy was launched,
// exit_launch_failed when the launch failed. The launching copy neither waits for the elevated one nor says
// anything of its own. An error that ends the window (building it among others) is reported and gives
// exit_window_failed instead of ending the process through the runtime. While another copy runs, either
// copy brings that one's window forward and ends with exit_ok: the launching copy asks for no elevation,
// the elevated one shows no window.
int run_entry(std::wstring_view command_line, const std::function<void()>& run_window,
              const Launcher& launch = shell_launch, const ErrorReport& report = show_error,
              const SingleCopy& copies = session_single_copy());

// The full path of the running executable, however long.
std::wstring own_program_path();

}  // namespace installer
