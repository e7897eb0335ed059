// What every host-layer operation receives for one host command.
#pragma once

#include "ae_effect.h"

struct command_context {
    PF_InData* in_data = nullptr;
    PF_OutData* out_data = nullptr;
    PF_ParamDef** params = nullptr;
    void* extra = nullptr;
    PF_Err err = PF_Err_NONE;  // what the command returns to the host
};
