// "PF Param Utils Suite" 3: tokens for the state of a parameter, so the effect can tell whether a
// layer or a value changed since it last looked.
#include <cstring>

#include "../SimulatedHost.h"
#include "HostSuites.h"

namespace hostsim {

namespace {

SimulatedHost& host() { return SimulatedHost::current(); }

// Words: the index, the value's revision, then for a layer its id and content revision, for a moving
// float or angle the bits of its value at `start`.
PF_Err getCurrentState(PF_ProgPtr effect_ref, PF_ParamIndex index, const A_Time* start, const A_Time*,
                       PF_State* state) {
    if (!state || !start || effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    if (index < 0 || static_cast<size_t>(index) >= host().params().count()) return PF_Err_INVALID_INDEX;
    const host_param& param = host().params().at(index);
    A_long words[4]{index, static_cast<A_long>(param.revision)};  // the token's bytes, which only the host reads
    static_assert(sizeof words == sizeof(PF_State));
    if (param.def.param_type == PF_Param_LAYER) {
        const AEGP_LayerIDVal id = host().params().layerOf(index, host().effectLayer()).id;
        const comp_layer* layer = host().comp().layerById(id);
        words[2] = id;
        words[3] = layer ? static_cast<A_long>(layer->revision) : 0;
    } else if (param.rate != 0) {
        AEGP_StreamVal value{};
        const double seconds = start->scale ? static_cast<double>(start->value) / start->scale : 0.0;
        host().params().streamValue(index, host().effectLayer(), &value, seconds);
        static_assert(sizeof value.one_d == 2 * sizeof words[2]);
        std::memcpy(&words[2], &value.one_d, sizeof value.one_d);
    }
    std::memcpy(state, words, sizeof words);
    return PF_Err_NONE;
}

PF_Err areStatesIdentical(PF_ProgPtr effect_ref, const PF_State* state1, const PF_State* state2, A_Boolean* same) {
    if (!state1 || !state2 || !same || effect_ref != host().effectRef()) return PF_Err_BAD_CALLBACK_PARAM;
    *same = std::memcmp(state1, state2, sizeof *state1) == 0;
    return PF_Err_NONE;
}

// Slots the simulated host does not offer stay null.
PF_ParamUtilsSuite3 makeParamUtilsSuite() {
    PF_ParamUtilsSuite3 suite{};
    suite.PF_GetCurrentState = getCurrentState;
    suite.PF_AreStatesIdentical = areStatesIdentical;
    return suite;
}
const PF_ParamUtilsSuite3 paramUtilsSuite = makeParamUtilsSuite();

}  // namespace

void provideParamUtilsSuite(SuiteRegistry& registry) {
    registry.provide(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &paramUtilsSuite);
}

}  // namespace hostsim
