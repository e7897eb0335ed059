#include "CommandSteps.h"

#include <cstdio>

namespace hostsim {

bool sendStep(SimulatedHost& host, PF_Cmd command, const char* what) {
    const PF_Err result = host.send(command);
    if (command == PF_Cmd_GLOBAL_SETUP) std::fprintf(stderr, "\n");
    if (result != PF_Err_NONE) std::fprintf(stderr, "pellux-host: %s failed with %d\n", what, static_cast<int>(result));
    std::fflush(stderr);
    return result == PF_Err_NONE;
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
