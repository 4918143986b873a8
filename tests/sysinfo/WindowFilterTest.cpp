#include "sysinfo/WindowFilter.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kPopup = 0x80000000;

TEST(SysInfoWindowFilter, VisibleFramedWindowsAreTaken)
{
    EXPECT_TRUE(QualifiesForWindowList(kVisible | 0x00CF0000, 0));
    // Any one bit of the frame is enough: caption (two bits), system menu,
    // sizing frame, minimise box, maximise box.
    for (std::uint32_t bit : {0x00800000u, 0x00400000u, 0x00080000u, 0x00040000u, 0x00020000u, 0x00010000u})
        EXPECT_TRUE(QualifiesForWindowList(kVisible | bit, 0)) << std::hex << bit;
    EXPECT_TRUE(QualifiesForWindowList(kVisible | kPopup | 0x00C00000, 0)) << "a popup with a caption";
}

TEST(SysInfoWindowFilter, HiddenFramelessAndControlParentWindowsAreLeftOut)
{
    EXPECT_FALSE(QualifiesForWindowList(0x00CF0000, 0)) << "hidden";
    EXPECT_FALSE(QualifiesForWindowList(kVisible | kPopup, 0)) << "no frame bit";
    EXPECT_FALSE(QualifiesForWindowList(kVisible | 0x0030FFFF, 0)) << "only bits outside the frame";
    EXPECT_FALSE(QualifiesForWindowList(kVisible | 0x00CF0000, 0x00010000)) << "control parent";
    EXPECT_FALSE(QualifiesForWindowList(kVisible | 0x00CF0000, 0xFFFFFFFF));
}

TEST(SysInfoWindowFilter, ToolWindowsAndOtherExtendedBitsDoNotMatter)
{
    EXPECT_TRUE(QualifiesForWindowList(kVisible | 0x00CF0000, 0x00000080));
    EXPECT_TRUE(QualifiesForWindowList(kVisible | 0x00CF0000, 0xFFFEFFFF));
}

TEST(SysInfoWindowFilter, TitlesAreCutAt255BytesOnACharacterBoundary)
{
    EXPECT_EQ(ListedWindowTitle(String(300, 'a')), String(255, 'a'));
    EXPECT_EQ(ListedWindowTitle(String(255, 'a')), String(255, 'a'));
    EXPECT_EQ(ListedWindowTitle(""), "");

    String hangul;
    for (int i = 0; i < 100; ++i)
        hangul += "가"; // three bytes each
    EXPECT_EQ(ListedWindowTitle(hangul), hangul.substr(0, 255)) << "85 whole characters fit";
    const String shifted = "a" + hangul;
    EXPECT_EQ(ListedWindowTitle(shifted), shifted.substr(0, 253)) << "the 86th character would be cut: it goes";
    const String emoji = String(253, 'b') + "😀";
    EXPECT_EQ(ListedWindowTitle(emoji), String(253, 'b'));
}

} // namespace
