// Steps the pellux-host commands share: sending a command with its failure reported, and naming the
// loaded effect.
#pragma once

#include <string>

#include "SimulatedHost.h"

namespace hostsim {

// Sends one command; a failure is reported on the error stream. Global set-up ends the banner's line.
bool sendStep(SimulatedHost& host, PF_Cmd command, const char* what);
// The text of the windows the effect showed since the host's watcher was last cleared, each on lines of
// its own after a line break (empty when there were none), to follow a failure's message.
std::string shownDialogs(SimulatedHost& host);
// "loaded QSPellux.aex: NAME VERSION (build N), category CATEGORY"
void printLoaded(SimulatedHost& host);

}  // namespace hostsim
