#include <gtest/gtest.h>

#include "contains_ignore_case.h"

namespace {

struct contains_case {
    const char* text;
    const char* pattern;
    bool found;
};

TEST(ContainsIgnoreCase, ComparesLettersWithoutCase) {
    const contains_case cases[] = {
        {"NVIDIA GeForce RTX", "nvidia", true},
        {"Advanced Micro Devices", "micro dev", true},
        {"pocl CPU device", "CPU DEVICE", true},  // a match that ends at the last character
        {"Intel(R) UHD", "intel(r)", true},       // non-letters must match exactly
        {"Intel(R) UHD", "intel[r]", false},
        {"abcab", "abd", false},
        {"nvidia", "nvidia gpu", false},          // longer than the text
        {"ab", "b", true},
        {"x", "", true},                          // an empty pattern occurs in every non-empty text
        {"", "", false},                          // and nothing occurs in an empty text
        {"", "a", false},
        {"caf\xC3\xA9", "CAF\xC3\xA9", true},     // bytes above 0x7F compare as they are
        {"caf\xC3\xA9", "CAF\xC3\x89", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qssdk::contains_ignore_case(c.text, c.pattern), c.found) << c.text << " / " << c.pattern;
}

TEST(ContainsIgnoreCase, LooksOnlyInsideTheViews) {
    const std::string_view text = std::string_view("xxNVIDIAxx").substr(0, 5);  // "xxNVI"
    EXPECT_TRUE(qssdk::contains_ignore_case(text, "nvi"));
    EXPECT_FALSE(qssdk::contains_ignore_case(text, "nvid"));
    const std::string_view pattern = std::string_view("nvidiaXX").substr(0, 6);  // "nvidia"
    EXPECT_TRUE(qssdk::contains_ignore_case("NVIDIA", pattern));
}

}  // namespace
