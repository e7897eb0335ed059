// The effect's PiPL: what the host learns of the effect from its file before it calls it. The out-flags are
// the ones global set-up reports.
#include "EffectFlags.h"
#include "PiplBuilder.h"
#include "ProductInfo.h"

std::vector<pipl::property> pipl::description() {
    return {
        code("kind", "eFKT"),  // an effect
        pascalString("name", product::displayName),
        pascalString("catg", product::category),
        cString("8664", "PluginMain"),  // the x64 entry point
        u32("eVER", product::hostVersion),
        version("ePVR", 2, 0),   // the PiPL's own version
        version("eSVR", 13, 9),  // the version of the effect interface the effect is written for
        u16("eINF", 0),
        u32("eGLO", static_cast<uint32_t>(product::outFlags)),
        u32("eGL2", static_cast<uint32_t>(product::outFlags2)),
        pascalString("eMNA", product::matchName),
        u32("aeFL", 0),
    };
}
