#include "CommandSteps.h"

#include <algorithm>
#include <cstdio>

namespace hostsim {

bool sendStep(SimulatedHost& host, PF_Cmd command, const char* what, DebugOutput* debug) {
    host.dialogs().clear();
    if (debug) debug->clear();
    const PF_Err result = host.send(command);
    if (command == PF_Cmd_GLOBAL_SETUP) std::fprintf(stderr, "\n");
    if (result != PF_Err_NONE)
        std::fprintf(stderr, "pellux-host: %s failed with %d%s\n", what, static_cast<int>(result),
                     shownDialogs(host, debug).c_str());
    std::fflush(stderr);
    return result == PF_Err_NONE;
}

std::string shownDialogs(SimulatedHost& host, const DebugOutput* debug) {
    std::string text;
    for (const seen_window& window : host.dialogs().seen()) {
        text += "\n  the effect showed \"" + window.title + "\"";
        if (window.text.empty()) continue;
        text += ":";
        // The message's own lines, indented under the title.
        size_t start = 0;
        for (size_t end; start <= window.text.size(); start = end + 1) {
            end = std::min(window.text.find('\n', start), window.text.size());
            std::string line = window.text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) text += "\n    " + line;
        }
    }
    if (debug) {
        const std::vector<std::string> lines = debug->lines();
        if (!lines.empty()) text += "\n  the effect wrote to the debugger:";
        for (const std::string& line : lines) text += "\n    " + line;
    }
    return text;
}

void printLoaded(SimulatedHost& host) {
    uint32_t version[4];
    host.module().version(version);
    std::printf("loaded %s: %s %u.%u.%u (build %u), category %s\n", "QSPellux.aex",
                host.module().declaration().pascalString("name").value_or("?").c_str(), version[0], version[1],
                version[2], version[3], host.module().declaration().pascalString("catg").value_or("?").c_str());
    std::fflush(stdout);
}

}  // namespace hostsim
