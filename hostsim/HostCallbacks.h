// The C functions the effect calls into the host: the basic suite, the utility and interaction callbacks.
// Each reaches the running SimulatedHost.
#pragma once

#include "ae_effect.h"
#include "ae_suites.h"

namespace hostsim {

class SimulatedHost;

namespace callbacks {

// Fills the basic suite and utility tables and provides the host's suites to its registry.
void install(SimulatedHost& host, SPBasicSuite& basic, PF_UtilCallbacks& utils);
void installInteract(PF_InteractCallbacks& inter);

}  // namespace callbacks
}  // namespace hostsim
