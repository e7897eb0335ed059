// The failure to compile, link or build a GPU program; the log itself goes to the debugger.
#pragma once

#include <string>
#include <utility>

#include "qs_exception.h"

class shader_compile_exception : public qs_exception {
public:
    explicit shader_compile_exception(std::string message) : qs_exception(std::move(message)) {}
};
