// Reference pictures: paths, the regenerate switch and the comparison.
#include "ReferencePictures.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "utf.h"

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

namespace {

// A file or folder of the build machine's file system seen from Wine, whose drive Z: is its root.
std::wstring winePath(const std::string& path) {
    std::wstring out = L"Z:" + qssdk::utf8_to_utf16(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

// Each channel's difference (alpha's shows on all three colours), scaled so that the largest is white.
hostsim::Image differencePicture(const hostsim::Image& a, const hostsim::Image& b, float max) {
    hostsim::Image out(a.width(), a.height(), {0, 0, 0, 1});
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const hostsim::rgba &p = a.at(x, y), &q = b.at(x, y);
            const float alpha = std::abs(p.a - q.a);
            out.at(x, y) = {std::max(std::abs(p.r - q.r), alpha) / max, std::max(std::abs(p.g - q.g), alpha) / max,
                            std::max(std::abs(p.b - q.b), alpha) / max, 1};
        }
    return out;
}

}  // namespace

std::wstring path(const char* name) { return winePath(std::string(PELLUX_REFERENCE_DIR) + "/" + name); }

bool regenerating() { return GetEnvironmentVariableW(L"PELLUX_REGENERATE_REFERENCES", nullptr, 0) > 0; }

std::optional<difference> compare_with_reference(const hostsim::Image& picture, const char* name) {
    if (regenerating()) {
        picture.save(path(name), 8);
        return std::nullopt;
    }
    const hostsim::Image reference = hostsim::Image::load(path(name));
    CreateDirectoryW(winePath(PELLUX_SEEN_PICTURES_DIR).c_str(), nullptr);  // or it is there already
    std::string stem = std::string(PELLUX_SEEN_PICTURES_DIR) + "/" + name;
    if (stem.ends_with(".png")) stem.resize(stem.size() - 4);
    const std::string seen = stem + "_seen.png", different = stem + "_difference.png";
    DeleteFileW(winePath(seen).c_str());
    DeleteFileW(winePath(different).c_str());
    if (reference.width() != picture.width() || reference.height() != picture.height()) {
        picture.save(winePath(seen));
        return difference{1.0f, 1.0,
                          "the picture seen is " + seen + " (" + std::to_string(picture.width()) +
                              "x" + std::to_string(picture.height()) + ", the reference " +
                              std::to_string(reference.width()) + "x" + std::to_string(reference.height()) + ")"};
    }
    difference d = compare(picture, reference);
    if (d.max > 0) {
        picture.save(winePath(seen));
        differencePicture(picture, reference, d.max).save(winePath(different));
        d.pictures = "the picture seen is " + seen + ", its difference from " + name + " " + different;
    }
    return d;
}

}  // namespace reference_pictures
