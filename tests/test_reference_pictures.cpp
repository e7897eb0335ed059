// A picture checked against its reference file: one that differs is written, with a picture of the
// difference, into the build's folder the failure message names; one that matches leaves none there.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "ReferencePictures.h"
#include "utf.h"

namespace {

// A reference of this test's own (no other check's pictures are touched), in steps 8 bits hold exactly.
constexpr char name[] = "reference_check.png";
const std::string seenFile = std::string(PELLUX_SEEN_PICTURES_DIR) + "/reference_check_seen.png";
const std::string differenceFile = std::string(PELLUX_SEEN_PICTURES_DIR) + "/reference_check_difference.png";

hostsim::Image ramps() {
    hostsim::Image picture(48, 32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.at(x, y) = {x * 5 / 255.0f, y * 8 / 255.0f, 128 / 255.0f, 1};
    return picture;
}

std::wstring fromWine(const std::string& path) {
    std::wstring out = L"Z:" + qssdk::utf8_to_utf16(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

bool exists(const std::string& path) { return GetFileAttributesW(fromWine(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(ReferencePictures, APictureThatDiffersIsWrittenWithItsDifferenceWhereTheMessageSays) {
    const hostsim::Image reference = ramps();
    if (!reference_pictures::compare_with_reference(reference, name))
        GTEST_SKIP() << "wrote the reference picture instead of comparing with it";
    hostsim::Image changed = reference;
    changed.at(20, 10) = {1, 1, 1, 1};

    const auto d = reference_pictures::compare_with_reference(changed, name);
    ASSERT_TRUE(d.has_value());
    EXPECT_GT(d->max, 0.0f);
    EXPECT_NE(d->pictures.find(seenFile), std::string::npos) << d->pictures;
    EXPECT_NE(d->pictures.find(differenceFile), std::string::npos) << d->pictures;
    ASSERT_TRUE(exists(seenFile) && exists(differenceFile)) << d->pictures;
    EXPECT_EQ(reference_pictures::compare(hostsim::Image::load(fromWine(seenFile)), changed).max, 0.0f);
    // The changed pixel holds the largest difference (its green lies farthest), shown white; the rest is black.
    const hostsim::Image difference = hostsim::Image::load(fromWine(differenceFile));
    ASSERT_EQ(difference.width(), reference.width());
    EXPECT_FLOAT_EQ(difference.at(20, 10).g, 1.0f);
    hostsim::Image black(reference.width(), reference.height(), {0, 0, 0, 1});
    black.at(20, 10) = difference.at(20, 10);
    EXPECT_EQ(reference_pictures::compare(difference, black).max, 0.0f);

    // A picture of another size is written, and the sizes are told; there is no difference picture.
    const auto other = reference_pictures::compare_with_reference(hostsim::Image(4, 3, {1, 0, 0, 1}), name);
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->max, 1.0f);
    EXPECT_NE(other->pictures.find(seenFile + " (4x3, the reference 48x32)"), std::string::npos) << other->pictures;
    EXPECT_EQ(hostsim::Image::load(fromWine(seenFile)).width(), 4);
    EXPECT_FALSE(exists(differenceFile)) << "the last check's difference is gone";

    // A picture that matches leaves nothing of earlier checks behind.
    const auto same = reference_pictures::compare_with_reference(reference, name);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->max, 0.0f);
    EXPECT_EQ(same->pictures, "");
    EXPECT_FALSE(exists(seenFile));
    EXPECT_FALSE(exists(differenceFile));
}

}  // namespace
