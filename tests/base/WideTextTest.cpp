#include "base/WideText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

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

TEST(WideText, ACopyIntoAPlatformBufferNeverEndsInsideAPairOfUnits)
{
    // "a", a pair of units, "b": capacities count units and the terminator.
    const struct {
        int capacity;
        std::wstring copied;
    } cases[] = {{1, L""}, {2, L"a"}, {3, L"a"}, {4, L"a\U0001F600"}, {5, L"a\U0001F600b"}, {9, L"a\U0001F600b"}};
    for (const auto& c : cases) {
        wchar_t buffer[10];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        CopyWholeCharacters("a😀b", buffer, c.capacity);
        EXPECT_EQ(std::wstring(buffer), c.copied) << c.capacity;
        EXPECT_EQ(buffer[c.capacity], L'#') << "written beyond the capacity " << c.capacity;
    }
    wchar_t untouched = L'#';
    CopyWholeCharacters("a", &untouched, 0);
    EXPECT_EQ(untouched, L'#');
}

} // namespace
