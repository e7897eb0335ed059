// qsinstaller's entry point.
#include <windows.h>

#include "EntryPoint.h"

namespace {

// The elevated copy's work: the installer window (InstallerUI) is not part of the program yet, so this copy
// ends at once with exit code 0.
void run_installer() {}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
    return installer::run_entry(command_line ? command_line : L"", run_installer);
}
