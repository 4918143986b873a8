#include "base/NumberText.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberText, IntToHexPadsWithZerosInUpperCase)
{
    EXPECT_EQ(IntToHex(0xABCD, 8), "0000ABCD");
    EXPECT_EQ(IntToHex(0xFFFFFFFF, 8), "FFFFFFFF");
    EXPECT_EQ(IntToHex(0, 8), "00000000");
    EXPECT_EQ(IntToHex(0x0badf00d, 8), "0BADF00D");
}

TEST(NumberText, IntToHexNeverCutsAndKeepsOddDigitCountsSane)
{
    EXPECT_EQ(IntToHex(0x1234ABCD, 4), "1234ABCD") << "the count is a minimum";
    EXPECT_EQ(IntToHex(0xAB, 0), "AB");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(0xAB, -5), "AB");
    EXPECT_EQ(IntToHex(0xAB, 1'000'000), String(30, '0') + "AB");
}

} // namespace
