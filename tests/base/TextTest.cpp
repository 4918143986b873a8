#include "base/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, PrefixNeverEndsInsideACharacter)
{
    const String text = "ab한😀"; // 2 + 3 + 4 bytes
    EXPECT_EQ(Utf8PrefixLength(text, 100), 9u);
    EXPECT_EQ(Utf8PrefixLength(text, 9), 9u);
    EXPECT_EQ(Utf8PrefixLength(text, 8), 5u);
    EXPECT_EQ(Utf8PrefixLength(text, 5), 5u);
    EXPECT_EQ(Utf8PrefixLength(text, 4), 2u);
    EXPECT_EQ(Utf8PrefixLength(text, 2), 2u);
    EXPECT_EQ(Utf8PrefixLength(text, 0), 0u);
}

TEST(Text, CompleteLengthDropsOnlyACutCharacter)
{
    const String text = "ab한😀";
    EXPECT_EQ(Utf8CompleteLength(text), 9u);
    EXPECT_EQ(Utf8CompleteLength(std::string_view(text).substr(0, 8)), 5u);
    EXPECT_EQ(Utf8CompleteLength(std::string_view(text).substr(0, 6)), 5u);
    EXPECT_EQ(Utf8CompleteLength(std::string_view(text).substr(0, 4)), 2u);
    EXPECT_EQ(Utf8CompleteLength(std::string_view(text).substr(0, 3)), 2u);
    EXPECT_EQ(Utf8CompleteLength(""), 0u);
    EXPECT_EQ(Utf8CompleteLength("\x80\x80"), 2u) << "stray continuation bytes are left alone";
}

} // namespace
