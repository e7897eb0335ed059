// "AEGP Stream Suite" 7 and "AEGP Dynamic Stream Suite" 2: the streams of the effect's parameters.
#include <cstdint>

#include "../SimulatedHost.h"
#include "HostSuites.h"
#include "SceneSuites.h"

namespace hostsim {

namespace {

SimulatedHost& host() { return SimulatedHost::current(); }

A_Err getNewEffectStreamByIndex(AEGP_PluginID plugin, AEGP_EffectRefH effect, PF_ParamIndex index,
                                AEGP_StreamRefH* stream) {
    if (!stream) return kAegpBadArgument;
    *stream = nullptr;
    // Index 0, the input layer, has no effect stream.
    if (!host().isRegisteredPlugin(plugin) || !host().aegp().isEffect(effect) || index < 1 ||
        index >= static_cast<PF_ParamIndex>(host().params().count()))
        return kAegpBadArgument;
    *stream = host().aegp().newParamStream(index);
    return 0;
}

A_Err disposeStream(AEGP_StreamRefH stream) { return host().aegp().disposeStream(stream) ? 0 : kAegpBadArgument; }

// A parameter's stream runs on its layer's time: a comp time is read at the effect layer's time it falls on.
A_Err getNewStreamValue(AEGP_PluginID plugin, AEGP_StreamRefH stream, AEGP_LTimeMode mode, const A_Time* time,
                        A_Boolean, AEGP_StreamValue* value) {
    if (!value) return kAegpBadArgument;
    const PF_ParamIndex index = host().aegp().paramOfStream(stream);
    if (!host().isRegisteredPlugin(plugin) || index < 0 || !time || time->scale == 0 ||
        (mode != AEGP_LTimeMode_LayerTime && mode != AEGP_LTimeMode_CompTime))
        return kAegpBadArgument;
    const int64_t layerTime =
        mode == AEGP_LTimeMode_CompTime ? host().comp().effectLayer().layerTimeOf(*time) : time->value;
    const double seconds = static_cast<double>(layerTime) / time->scale;
    if (const A_Err err = host().params().streamValue(index, host().effectLayer(), &value->val, seconds)) return err;
    value->streamH = stream;
    host().aegp().valueHandedOut(stream);
    return 0;
}

A_Err disposeStreamValue(AEGP_StreamValue* value) {
    if (!value) return kAegpBadArgument;
    return host().aegp().disposeValue(value->streamH) ? 0 : kAegpBadArgument;
}

A_Err setDynamicStreamFlag(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag, A_Boolean, A_Boolean set) {
    const PF_ParamIndex index = host().aegp().paramOfStream(stream);
    if (index < 0) return kAegpBadArgument;
    if (flag != AEGP_DynStreamFlag_HIDDEN) return kAegpNotSimulated;
    host().params().setHidden(index, set != 0);
    return 0;
}

A_Err getDynamicStreamFlags(AEGP_StreamRefH stream, AEGP_DynStreamFlags* flags) {
    const PF_ParamIndex index = host().aegp().paramOfStream(stream);
    if (!flags || index < 0) return kAegpBadArgument;
    *flags = host().params().at(index).hidden ? AEGP_DynStreamFlags{AEGP_DynStreamFlag_HIDDEN} : 0u;
    return 0;
}

// Slots the simulated host does not offer stay null.
AEGP_StreamSuite2 makeStreamSuite() {
    AEGP_StreamSuite2 suite{};
    suite.AEGP_GetNewEffectStreamByIndex = getNewEffectStreamByIndex;
    suite.AEGP_DisposeStream = disposeStream;
    suite.AEGP_GetNewStreamValue = getNewStreamValue;
    suite.AEGP_DisposeStreamValue = disposeStreamValue;
    suite.AEGP_GetLayerStreamValue = scene::getLayerStreamValue;
    return suite;
}
AEGP_DynamicStreamSuite2 makeDynamicStreamSuite() {
    AEGP_DynamicStreamSuite2 suite{};
    suite.AEGP_GetDynamicStreamFlags = getDynamicStreamFlags;
    suite.AEGP_SetDynamicStreamFlag = setDynamicStreamFlag;
    return suite;
}
const AEGP_StreamSuite2 streamSuite = makeStreamSuite();
const AEGP_DynamicStreamSuite2 dynamicStreamSuite = makeDynamicStreamSuite();

}  // namespace

void provideStreamSuites(SuiteRegistry& registry) {
    registry.provide(kAEGPStreamSuite, kAEGPStreamSuiteVersion2, &streamSuite);
    registry.provide(kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &dynamicStreamSuite);
}

}  // namespace hostsim
