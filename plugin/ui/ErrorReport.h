// Shows a failure that reached the host boundary to the user, modally, on the host's main window.
#pragma once

#include <exception>

#include "ae_effect.h"

// A null exception stands for one of a type outside std::exception.
void reportException(const std::exception* error, PF_InData* in_data);
