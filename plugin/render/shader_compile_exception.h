// A GPU program that could not be made; the compiler's log goes to the debugger, not into the message.
#pragma once

#include <string>
#include <utility>

#include "qs_exception.h"

class shader_compile_exception : public qs_exception {
public:
    explicit shader_compile_exception(std::string message) : qs_exception(std::move(message)) {}
};
