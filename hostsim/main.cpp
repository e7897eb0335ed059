// pellux-host: the simulated host's command line. Loads QSPellux.aex and runs it as the host would.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "SimulatedHost.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pellux-host COMMAND [OPTIONS]\n"
                 "  demo      load the effect, set it up and print its version\n");
    return 2;
}

int demo() {
    hostsim::SimulatedHost host;
    uint32_t version[4];
    host.module().version(version);
    std::printf("loaded %s: %s %u.%u.%u (build %u), category %s\n", "QSPellux.aex",
                host.module().declaration().pascalString("name").value_or("?").c_str(), version[0], version[1],
                version[2], version[3], host.module().declaration().pascalString("catg").value_or("?").c_str());
    std::fflush(stdout);
    const PF_Err setup = host.send(PF_Cmd_GLOBAL_SETUP);
    std::fprintf(stderr, "\n");
    if (setup != PF_Err_NONE) {
        std::fprintf(stderr, "pellux-host: global set-up failed with %d\n", static_cast<int>(setup));
        return 1;
    }
    return host.send(PF_Cmd_GLOBAL_SETDOWN) == PF_Err_NONE ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    try {
        if (args[0] == "demo") return demo();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pellux-host: %s\n", error.what());
        return 1;
    }
    return usage();
}
