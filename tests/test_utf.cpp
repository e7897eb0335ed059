#include <gtest/gtest.h>

#include "utf.h"

namespace {

struct utf_case {
    std::string utf8;
    std::wstring utf16;
};

TEST(Utf, ConvertsBothWays) {
    const utf_case cases[] = {
        {"", L""},
        {"abc", L"abc"},
        {"Gr\xC3\xBC\xC3\x9F" "e", L"Gr\u00FC\u00DFe"},
        {"\xE2\x82\xAC 5", L"\u20AC 5"},
        {"\xF0\x9F\x8C\x90", {wchar_t{0xD83C}, wchar_t{0xDF10}}},  // outside the basic plane: a surrogate pair
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qssdk::utf8_to_utf16(c.utf8), c.utf16);
        EXPECT_EQ(qssdk::utf16_to_utf8(c.utf16), c.utf8);
    }
}

TEST(Utf, MalformedInputGivesReplacementCharacters) {
    const std::wstring converted = qssdk::utf8_to_utf16("a\xFF" "b");
    ASSERT_EQ(converted.size(), 3u);
    EXPECT_EQ(converted[0], L'a');
    EXPECT_EQ(converted[1], 0xFFFD);
    EXPECT_EQ(converted[2], L'b');
}

TEST(Utf, ViewsAreConvertedWithoutTheirSurroundings) {
    const std::wstring text = L"abcdef";
    EXPECT_EQ(qssdk::utf16_to_utf8(std::wstring_view(text).substr(1, 3)), "bcd");
    EXPECT_EQ(qssdk::utf8_to_utf16(std::string_view("abcdef").substr(2, 2)), L"cd");
}

}  // namespace
