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
    if (answer) *answer = 0;  // the interactive application, not a render-only engine
    return PF_Err_NONE;
}

const AEGP_UtilitySuite10 utilitySuite{registerWithAegp};
const PFAppSuite6 appSuite{isRenderEngine};

}  // namespace

void provideHostSuites(SuiteRegistry& registry) {
    registry.provide(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion10, &utilitySuite);
    registry.provide(kPFAppSuite, kPFAppSuiteVersion6, &appSuite);
    provideSceneSuites(registry);
    provideInterfaceSuites(registry);
    provideStreamSuites(registry);
    provideParamUtilsSuite(registry);
}

}  // namespace hostsim
