#include "AboutCommand.h"

#include <cstdio>

#include "CommandSteps.h"
#include "RenderOptions.h"
#include "SimulatedHost.h"
#include "utf.h"

namespace hostsim {

int aboutCommand(const std::vector<std::string>& args) {
    std::string shot;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--shot" && i + 1 < args.size())
            shot = args[++i];
        else
            throw usage_error("about takes --shot FILE, not " + args[i]);
    }

    SimulatedHost host;
    if (!sendStep(host, PF_Cmd_GLOBAL_SETUP, "global set-up")) return 1;
    if (shot.empty()) {
        // The dialog is the person's to close.
        host.dialogs().setResponder([](HWND, const seen_window&) {});
        std::printf("the About dialog is open on the host's main window: click OK to end (a click on the link\n"
                    "prints the address it would open)\n");
        std::fflush(stdout);
    } else {
        host.dialogs().setResponder([&shot](HWND window, const seen_window& record) {
            record.pixels.save(qssdk::utf8_to_utf16(shot));
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
    }
    const bool shown = sendStep(host, PF_Cmd_ABOUT, "ABOUT");
    host.dialogs().setResponder(nullptr);
    if (!shot.empty()) {
        const auto windows = host.dialogs().seen();
        if (windows.empty()) {
            std::fprintf(stderr, "pellux-host: the effect showed no About dialog\n");
            return 1;
        }
        std::printf("wrote %s: the About dialog \"%s\", %d x %d\n", shot.c_str(), windows.back().title.c_str(),
                    windows.back().width, windows.back().height);
    }
    return shown && sendStep(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") ? 0 : 1;
}

}  // namespace hostsim
