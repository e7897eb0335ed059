// Reference pictures: paths, the regenerate switch and the comparison.
#include "ReferencePictures.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace reference_pictures {

difference compare(const hostsim::Image& a, const hostsim::Image& b) {
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

std::wstring path(const char* name) {
    // The source tree seen from Wine, whose drive Z: is the root of the file system.
    std::wstring out = L"Z:" + std::wstring(PELLUX_REFERENCE_DIR, PELLUX_REFERENCE_DIR + std::strlen(PELLUX_REFERENCE_DIR)) +
                       L"/" + std::wstring(name, name + std::strlen(name));
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

bool regenerating() { return GetEnvironmentVariableW(L"PELLUX_REGENERATE_REFERENCES", nullptr, 0) > 0; }

std::optional<difference> compare_with_reference(const hostsim::Image& picture, const char* name) {
    if (regenerating()) {
        picture.save(path(name), 8);
        return std::nullopt;
    }
    const hostsim::Image reference = hostsim::Image::load(path(name));
    if (reference.width() != picture.width() || reference.height() != picture.height()) return difference{1.0f, 1.0};
    return compare(picture, reference);
}

}  // namespace reference_pictures
