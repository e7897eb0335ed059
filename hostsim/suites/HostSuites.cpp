#include "HostSuites.h"

#include "../SimulatedHost.h"
#include "SceneSuites.h"

namespace hostsim {

namespace {

SimulatedHost& host() { return SimulatedHost::current(); }

A_Err registerWithAegp(AEGP_GlobalRefcon, const A_char* name, AEGP_PluginID* id) {
    return host().registerWithAegp(name, id);
}

PF_Err isRenderEngine(PF_Boolean* answer) {
    if (answer) *answer = host().renderEngine ? 1 : 0;
    return PF_Err_NONE;
}

AEGP_UtilitySuite4 makeUtilitySuite() {
    AEGP_UtilitySuite4 suite{};
    suite.AEGP_RegisterWithAEGP = registerWithAegp;
    return suite;
}
PFAppSuite4 makeAppSuite() {
    PFAppSuite4 suite{};
    suite.PF_IsRenderEngine = isRenderEngine;
    return suite;
}

// Slots the simulated host does not offer stay null.
const AEGP_UtilitySuite4 utilitySuite = makeUtilitySuite();
const PFAppSuite4 appSuite = makeAppSuite();

}  // namespace

void provideHostSuites(SuiteRegistry& registry) {
    registry.provide(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion4, &utilitySuite);
    registry.provide(kPFAppSuite, kPFAppSuiteVersion4, &appSuite);
    provideSceneSuites(registry);
    provideInterfaceSuites(registry);
    provideStreamSuites(registry);
    provideParamUtilsSuite(registry);
    provideDrawbotSuites(registry);
}

}  // namespace hostsim
