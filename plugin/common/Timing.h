// Stage timings for the debugger: nanoseconds from the performance counter, printed in milliseconds.
#pragma once

#include <cstdint>

#include <windows.h>

#include "format_string.h"

namespace timing {

inline int64_t nowNanoseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    // Split to keep the product inside 64 bits for long uptimes.
    const int64_t seconds = counter.QuadPart / frequency.QuadPart;
    const int64_t rest = counter.QuadPart % frequency.QuadPart;
    return seconds * 1000000000 + rest * 1000000000 / frequency.QuadPart;
}

// Whole microseconds since `start`, in milliseconds.
inline double elapsedMilliseconds(int64_t start) {
    return static_cast<double>((nowNanoseconds() - start) / 1000) * 0.001;
}

}  // namespace timing
