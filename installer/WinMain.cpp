// qsinstaller's entry point.
#include <windows.h>

#include "EntryPoint.h"
#include "InstallerUI.h"

namespace {

// The elevated copy's work: the installer window, run modally until it is finished or closed.
void run_installer() {
    installer::InstallerUI ui;
    ui.show_modal();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
    return installer::run_entry(command_line ? command_line : L"", run_installer);
}
