// Shows a failure that reached the host boundary to the user: a modal message popup on the host's main
// window, or, where a modal window could hang the host, a line for the debugger.
#pragma once

#include <exception>

#include "ae_effect.h"

// A null exception stands for one of a type outside std::exception. renderEngine is the host's answer
// at set-up: a render engine has no one at the screen. Nothing is thrown out of the report.
void reportException(const std::exception* error, PF_InData* in_data, bool renderEngine) noexcept;
