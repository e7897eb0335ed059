// Every suite the simulated host offers, registered with its basic suite.
#pragma once

#include "../SuiteRegistry.h"

namespace hostsim {

void provideHostSuites(SuiteRegistry& registry);

}  // namespace hostsim
