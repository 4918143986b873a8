#include "platform/LongPath.h"

#include <gtest/gtest.h>

namespace {

TEST(LongPath, ShortPathsStayAsTheyAre)
{
    EXPECT_EQ(platform::ExtendedLengthPath(L"C:\\Windows\\*.*"), L"C:\\Windows\\*.*");
    EXPECT_EQ(platform::ExtendedLengthPath(L""), L"");
    const std::wstring longest(259, L'a');
    EXPECT_EQ(platform::ExtendedLengthPath(L"C:\\" + longest.substr(3)), L"C:\\" + longest.substr(3));
}

TEST(LongPath, LongPathsGetTheExtendedPrefix)
{
    const std::wstring tail(300, L'x');
    EXPECT_EQ(platform::ExtendedLengthPath(L"C:\\" + tail), L"\\\\?\\C:\\" + tail);
    EXPECT_EQ(platform::ExtendedLengthPath(L"c:/a/" + tail), L"\\\\?\\c:\\a\\" + tail);
    EXPECT_EQ(platform::ExtendedLengthPath(L"\\\\server\\share\\" + tail), L"\\\\?\\UNC\\server\\share\\" + tail);
    EXPECT_EQ(platform::ExtendedLengthPath(L"\\\\?\\C:\\" + tail), L"\\\\?\\C:\\" + tail);
    // A relative path cannot carry the prefix; the platform call decides.
    EXPECT_EQ(platform::ExtendedLengthPath(L"relative\\" + tail), L"relative\\" + tail);
}

} // namespace
