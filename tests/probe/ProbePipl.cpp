// The probe effect's PiPL: enough for the simulated host to load it as an effect.
#include "PiplBuilder.h"

std::vector<pipl::property> pipl::description() {
    return {
        code("kind", "eFKT"),
        pascalString("name", "Probe"),
        cString("8664", "PluginMain"),
    };
}
