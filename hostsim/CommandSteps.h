// Steps the pellux-host commands share: sending a command with its failure reported, and naming the
// loaded effect.
#pragma once

#include "SimulatedHost.h"

namespace hostsim {

// Sends one command; a failure is reported on the error stream. Global set-up ends the banner's line.
bool sendStep(SimulatedHost& host, PF_Cmd command, const char* what);
// "loaded QSPellux.aex: NAME VERSION (build N), category CATEGORY"
void printLoaded(SimulatedHost& host);

}  // namespace hostsim
