#include "format_string.h"

#include <cstdarg>
#include <cstdio>

namespace qssdk {

std::string format_string(const char* format, ...) {
    char buffer[512] = {};
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0) return {};
    return std::string(buffer, std::min<size_t>(static_cast<size_t>(written), sizeof buffer - 1));
}

}  // namespace qssdk
