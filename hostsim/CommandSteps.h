// Steps the pellux-host commands share: sending a command with its failure reported, and naming the
// loaded effect.
#pragma once

#include <string>

#include "DebugOutput.h"
#include "SimulatedHost.h"

namespace hostsim {

// Sends one command; a failure is reported on the error stream, with what the effect wrote to `debug`
// during the command when one is given. Global set-up ends the banner's line.
bool sendStep(SimulatedHost& host, PF_Cmd command, const char* what, DebugOutput* debug = nullptr);
// The text of the windows the effect showed since the host's watcher was last cleared, and the lines the
// effect wrote to `debug` (the effect's report of a failure is among them), each on lines of its own after
// a line break (empty when there were none), to follow a failure's message.
std::string shownDialogs(SimulatedHost& host, const DebugOutput* debug = nullptr);
// "loaded QSPellux.aex: NAME VERSION (build N), category CATEGORY"
void printLoaded(SimulatedHost& host);

}  // namespace hostsim
