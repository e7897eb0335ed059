#include <gtest/gtest.h>

#include "format_string.h"

namespace {

TEST(FormatString, FormatsLikePrintf) {
    EXPECT_EQ(qssdk::format_string("%s Exception", "QS Pellux"), "QS Pellux Exception");
    EXPECT_EQ(qssdk::format_string("Render: %.2f ms\n", 12.3456), "Render: 12.35 ms\n");
    EXPECT_EQ(qssdk::format_string("%d-%04d", -3, 7), "-3-0007");
}

TEST(FormatString, CutsTextLongerThan511Bytes) {
    const std::string long_text(600, 'x');
    EXPECT_EQ(qssdk::format_string("%s", long_text.c_str()), std::string(511, 'x'));
}

}  // namespace
