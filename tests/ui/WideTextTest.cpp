#include "ui/WideText.h"

#include <gtest/gtest.h>

namespace {

TEST(WideText, ConversionKeepsCharactersOutsideTheKoreanCodePage)
{
    const String text = "C:\\폴더\\emoji😀\\漢字\\100%s.txt";
    const std::wstring wide = Widen(text);
    EXPECT_EQ(wide, L"C:\\폴더\\emoji\U0001F600\\漢字\\100%s.txt");
    EXPECT_EQ(Narrow(wide), text);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
}

} // namespace
