// Pictures compared with references kept in the source tree (tests/reference/*.png). After a deliberate
// change of a look, PELLUX_REGENERATE_REFERENCES=1 makes the tests write the references anew instead of
// comparing; look at every picture before committing them. The test target defines PELLUX_REFERENCE_DIR.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "Image.h"

namespace reference_pictures {

struct difference {
    float max = 0;
    double mean = 0;
};

// Per channel of the pixels; the pictures are of one size.
inline difference compare(const hostsim::Image& a, const hostsim::Image& b) {
    difference d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const hostsim::rgba &p = a.at(x, y), &q = b.at(x, y);
            for (float v : {p.r - q.r, p.g - q.g, p.b - q.b, p.a - q.a}) {
                d.max = std::max(d.max, std::abs(v));
                d.mean += std::abs(v);
            }
        }
    d.mean /= 4.0 * a.width() * a.height();
    return d;
}

inline std::wstring path(const char* name) {
    // The source tree seen from Wine, whose drive Z: is the root of the file system.
    std::wstring path = L"Z:" + std::wstring(PELLUX_REFERENCE_DIR, PELLUX_REFERENCE_DIR + std::strlen(PELLUX_REFERENCE_DIR)) +
                        L"/" + std::wstring(name, name + std::strlen(name));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

inline bool regenerating() { return GetEnvironmentVariableW(L"PELLUX_REGENERATE_REFERENCES", nullptr, 0) > 0; }

}  // namespace reference_pictures
