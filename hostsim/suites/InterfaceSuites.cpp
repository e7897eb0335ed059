// "AEGP PF Interface Suite" 1 and "AEGP Effect Suite" 2: the effect instance's own AEGP handle and times.
#include "../SimulatedHost.h"
#include "HostSuites.h"
#include "SceneSuites.h"

namespace hostsim {

namespace {

SimulatedHost& host() { return SimulatedHost::current(); }

A_Err getNewEffectForEffect(AEGP_PluginID plugin, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect) {
    if (!effect) return kAegpBadArgument;
    *effect = nullptr;
    if (!host().isRegisteredPlugin(plugin) || effect_ref != host().effectRef()) return kAegpBadArgument;
    *effect = host().aegp().newEffect();
    return 0;
}

// The effect's times are its layer's: the comp time is later by the layer's in-point, in the effect's
// scale where it fits 32 bits.
A_Err convertEffectToCompTime(PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale, A_Time* comp_time) {
    if (!comp_time || time_scale == 0 || effect_ref != host().effectRef()) return kAegpBadArgument;
    *comp_time = host().comp().effectLayer().compTimeOf(what_time, time_scale);
    return 0;
}

A_Err disposeEffect(AEGP_EffectRefH effect) { return host().aegp().disposeEffect(effect) ? 0 : kAegpBadArgument; }

const AEGP_PFInterfaceSuite1 pfInterfaceSuite{scene::getEffectLayer, getNewEffectForEffect, convertEffectToCompTime,
                                              scene::getEffectCamera, scene::getEffectCameraMatrix};

// Slots the simulated host does not offer stay null.
AEGP_EffectSuite2 makeEffectSuite() {
    AEGP_EffectSuite2 suite{};
    suite.AEGP_DisposeEffect = disposeEffect;
    return suite;
}
const AEGP_EffectSuite2 effectSuite = makeEffectSuite();

}  // namespace

void provideInterfaceSuites(SuiteRegistry& registry) {
    registry.provide(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &pfInterfaceSuite);
    registry.provide(kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &effectSuite);
}

}  // namespace hostsim
