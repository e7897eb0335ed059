// Every suite the simulated host offers, registered with its basic suite, in files by group.
#pragma once

#include "../SuiteRegistry.h"

namespace hostsim {

void provideHostSuites(SuiteRegistry& registry);

// The groups provideHostSuites registers.
void provideInterfaceSuites(SuiteRegistry& registry);  // PF Interface, Effect
void provideStreamSuites(SuiteRegistry& registry);     // Stream, Dynamic Stream
void provideParamUtilsSuite(SuiteRegistry& registry);  // PF Param Utils
void provideDrawbotSuites(SuiteRegistry& registry);    // PF Effect Custom UI, DRAWBOT Draw, Supplier, Surface

// The simulated host's AEGP errors: a bad handle, index or argument; a call it does not simulate yet.
constexpr A_Err kAegpBadArgument = 3;
constexpr A_Err kAegpNotSimulated = 1;

}  // namespace hostsim
