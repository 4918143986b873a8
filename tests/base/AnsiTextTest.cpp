#include "base/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(AnsiText, SystemCodePageTextBecomesUtf8)
{
    EXPECT_EQ(AnsiToUtf8("Wine Adapter"), "Wine Adapter");
    EXPECT_EQ(AnsiToUtf8(""), "");
    if (::GetACP() != 949)
        GTEST_SKIP() << "the Korean code page is not the system's here";
    EXPECT_EQ(AnsiToUtf8("\xC7\xD1\xB1\xDB \xB9\xE8\xC6\xAE"), "한글 배트");
    EXPECT_EQ(AnsiToUtf8(std::string_view("ab\0cd", 5)), String("ab\0cd", 5)) << "the length given, not a terminator";
}

} // namespace
