#include "browser/FileRow.h"

#include <gtest/gtest.h>

namespace {

TEST(FileRow, SearchPatternWithAndWithoutFinalBackslash)
{
    EXPECT_EQ(SearchPattern("C:\\"), "C:\\*.*");
    EXPECT_EQ(SearchPattern("C:\\Windows"), "C:\\Windows\\*.*");
    EXPECT_EQ(SearchPattern("C:\\Windows\\"), "C:\\Windows\\*.*");
    EXPECT_EQ(SearchPattern("C"), "C\\*.*");
}

TEST(FileRow, SizesAreWholeAndFoldersBlank)
{
    EXPECT_EQ(SizeText(false, 5'368'709'120ull), "5368709120");
    EXPECT_EQ(SizeText(false, 0), "0");
    EXPECT_EQ(SizeText(false, 1234), "1234");
    EXPECT_EQ(SizeText(false, 18'446'744'073'709'551'615ull), "18446744073709551615");
    EXPECT_EQ(SizeText(true, 4096), " ");
}

TEST(FileRow, NamesBeginningWithAFullStopAreNotListed)
{
    EXPECT_FALSE(IsListedName("."));
    EXPECT_FALSE(IsListedName(".."));
    EXPECT_FALSE(IsListedName(".config"));
    EXPECT_FALSE(IsListedName(""));
    EXPECT_TRUE(IsListedName("a.b"));
    EXPECT_TRUE(IsListedName("100%s.txt"));
}

} // namespace
