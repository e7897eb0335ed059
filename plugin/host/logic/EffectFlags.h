// The capabilities the effect declares: global set-up reports them and the PiPL resource repeats them,
// both from these constants.
#pragma once

#include "ae_effect.h"

namespace product {

inline constexpr A_long outFlags =
    PF_OutFlag_CUSTOM_UI | PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
inline constexpr A_long outFlags2 = PF_OutFlag2_I_USE_3D_CAMERA | PF_OutFlag2_I_USE_3D_LIGHTS |
                                    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG | PF_OutFlag2_SUPPORTS_SMART_RENDER |
                                    PF_OutFlag2_FLOAT_COLOR_AWARE;

}  // namespace product
