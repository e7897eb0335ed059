// Reference pictures kept in tests/reference: where they are, whether this run writes them anew
// (PELLUX_REGENERATE_REFERENCES=1), and how far a picture lies from one. A picture that differs from its
// reference is written beside a picture of the difference, in a folder of the build, for a look.
#pragma once

#include <optional>
#include <string>

#include "Image.h"

namespace reference_pictures {

struct difference {
    float max = 0;    // largest difference of one channel of one pixel
    double mean = 0;  // mean over every channel of every pixel
    // From compare_with_reference, for the failure message: where the picture seen and the difference went,
    // when they differ at all.
    std::string pictures;
};

// Per channel of the premultiplied pixels; both pictures have the same size.
difference compare(const hostsim::Image& a, const hostsim::Image& b);
// The file's path in the source tree, as Wine sees it.
std::wstring path(const char* name);
bool regenerating();
// The picture against its reference file: the difference, or nothing when this run wrote the file anew
// instead. Pictures of another size lie as far as they can (max and mean 1). A picture that differs at
// all is written to the build's folder of pictures seen as NAME_seen.png, with NAME_difference.png beside
// it (each channel's difference, the largest one white); one that matches removes those of an earlier run.
std::optional<difference> compare_with_reference(const hostsim::Image& picture, const char* name);

}  // namespace reference_pictures
