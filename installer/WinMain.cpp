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
    // Before anything can load a library: from here on a library named without a path comes from the
    // system folder only, never from the folder the installer was started from (downloads, say) nor the
    // current folder, where a planted copy would run with the elevated copy's rights. The program imports
    // only libraries the system always takes from its own folder; the kit loads the others itself.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    return installer::run_entry(command_line ? command_line : L"", run_installer);
}
