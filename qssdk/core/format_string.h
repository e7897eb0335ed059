// printf-style formatting into a std::string; the result holds at most 511 bytes (longer text is cut).
#pragma once

#include <string>

namespace qssdk {

std::string format_string(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

}  // namespace qssdk
