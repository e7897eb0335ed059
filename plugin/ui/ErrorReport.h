// Shows a failure that reached the host boundary to the user: a modal message popup on the host's main
// window, or, where a modal window could hang the host, a line for the debugger.
#pragma once

#include <windows.h>

#include <exception>

#include "ae_effect.h"

struct report_place {
    // The host's answer at set-up: a render engine has no one at the screen.
    bool renderEngine = false;
    // The host's user-interface thread, where a popup may run when the host names no main window; 0 when
    // it is not known.
    DWORD uiThread = 0;
};

// A null exception stands for one of a type outside std::exception. Nothing is thrown out of the report.
void reportException(const std::exception* error, PF_InData* in_data, const report_place& place) noexcept;
