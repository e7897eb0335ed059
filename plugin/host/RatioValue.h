// The host's rational values (downsample factors, pixel aspects, shutter angles) as floats.
#pragma once

#include "ae_types.h"

inline float numOverDen(const A_Ratio& r) { return static_cast<float>(r.num) / static_cast<float>(r.den); }
// The reciprocal: the host's downsample ratio 1/2 is a factor of 2 here.
inline float denOverNum(const A_Ratio& r) { return static_cast<float>(r.den) / static_cast<float>(r.num); }
// numOverDen, or `whenUnset` for a ratio with a zero denominator, which a host may hand over unset.
inline float numOverDenOr(const A_Ratio& r, float whenUnset) { return r.den ? numOverDen(r) : whenUnset; }
