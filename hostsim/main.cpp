// pellux-host: the simulated host's command line. Loads QSPellux.aex and runs it as the host would.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "ParamListing.h"
#include "SimulatedHost.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pellux-host COMMAND [OPTIONS]\n"
                 "  demo      load the effect, set it up and print its version\n"
                 "  params    list the effect's parameters as the host receives them\n");
    return 2;
}

// Sends one command; a failure is reported on the error stream. Global set-up ends the banner's line.
bool send(hostsim::SimulatedHost& host, PF_Cmd command, const char* what) {
    const PF_Err result = host.send(command);
    if (command == PF_Cmd_GLOBAL_SETUP) std::fprintf(stderr, "\n");
    if (result != PF_Err_NONE) std::fprintf(stderr, "pellux-host: %s failed with %d\n", what, static_cast<int>(result));
    return result == PF_Err_NONE;
}

int demo() {
    hostsim::SimulatedHost host;
    uint32_t version[4];
    host.module().version(version);
    std::printf("loaded %s: %s %u.%u.%u (build %u), category %s\n", "QSPellux.aex",
                host.module().declaration().pascalString("name").value_or("?").c_str(), version[0], version[1],
                version[2], version[3], host.module().declaration().pascalString("catg").value_or("?").c_str());
    std::fflush(stdout);
    if (!send(host, PF_Cmd_GLOBAL_SETUP, "global set-up")) return 1;
    return send(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") ? 0 : 1;
}

int params() {
    hostsim::SimulatedHost host;
    if (!send(host, PF_Cmd_GLOBAL_SETUP, "global set-up") || !send(host, PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP"))
        return 1;
    // Plain "\n" line ends: the listing is read by the Linux side of the machine.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fputs(hostsim::paramListing(host.params()).c_str(), stdout);
    std::fflush(stdout);
    for (const std::string& fault : host.params().faults()) std::fprintf(stderr, "pellux-host: %s\n", fault.c_str());
    return send(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") && host.params().faults().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    try {
        if (args[0] == "demo") return demo();
        if (args[0] == "params") return params();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pellux-host: %s\n", error.what());
        return 1;
    }
    return usage();
}
