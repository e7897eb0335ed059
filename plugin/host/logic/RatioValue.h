// The host's rational values (downsample factors, pixel aspects, shutter angles) as floats. The host has two
// types of them alike, A_Ratio and PF_RationalScale: `Ratio` is either.
#pragma once

#include "ae_types.h"

template <class Ratio> float numOverDen(const Ratio& r) {
    return static_cast<float>(r.num) / static_cast<float>(r.den);
}
// The reciprocal: the host's downsample ratio 1/2 is a factor of 2 here.
template <class Ratio> float denOverNum(const Ratio& r) {
    return static_cast<float>(r.den) / static_cast<float>(r.num);
}
// numOverDen, or `whenUnset` for a ratio with a zero denominator, which a host may hand over unset.
template <class Ratio> float numOverDenOr(const Ratio& r, float whenUnset) {
    return r.den ? numOverDen(r) : whenUnset;
}
