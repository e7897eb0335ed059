// pellux-host: the simulated host's command line. Loads QSPellux.aex and runs it as the host would.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "AboutCommand.h"
#include "BenchCommand.h"
#include "CommandSteps.h"
#include "DemoScene.h"
#include "PanelCommand.h"
#include "ParamListing.h"
#include "RenderCommand.h"
#include "RenderOptions.h"
#include "SimulatedHost.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pellux-host COMMAND [OPTIONS]\n"
                 "  demo --out FILE     render the built-in scene through the effect and write it\n"
                 "  render ... --out FILE  render frames through the effect (render --help)\n"
                 "  params              list the effect's parameters as the host receives them\n"
                 "  panel --out FILE    draw the effect's controls-panel strip, normal above hovered\n"
                 "  about [--shot FILE] show the effect's About dialog until OK (--shot: write its picture, close it)\n"
                 "  bench [--quick] [--json FILE]  measure the render path (bench --help)\n");
    return 2;
}

int params() {
    hostsim::SimulatedHost host;
    if (!hostsim::sendStep(host, PF_Cmd_GLOBAL_SETUP, "global set-up") ||
        !hostsim::sendStep(host, PF_Cmd_PARAMS_SETUP, "PARAMS_SETUP"))
        return 1;
    std::fputs(hostsim::paramListing(host.params()).c_str(), stdout);
    std::fflush(stdout);
    for (const std::string& fault : host.params().faults()) std::fprintf(stderr, "pellux-host: %s\n", fault.c_str());
    return hostsim::sendStep(host, PF_Cmd_GLOBAL_SETDOWN, "global set-down") && host.params().faults().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends: the output is read by the Linux side of the machine.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    hostsim::ShellRecorder::setPrinting(true);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (args[0] == "demo") return hostsim::demoCommand(rest);
        if (args[0] == "render") return hostsim::renderCommand(rest);
        if (args[0] == "params") return params();
        if (args[0] == "panel") return hostsim::panelCommand(rest);
        if (args[0] == "about") return hostsim::aboutCommand(rest);
        if (args[0] == "bench") return hostsim::benchCommand(rest);
    } catch (const hostsim::usage_error& error) {
        std::fprintf(stderr, "pellux-host: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pellux-host: %s\n", error.what());
        return 1;
    }
    return usage();
}
