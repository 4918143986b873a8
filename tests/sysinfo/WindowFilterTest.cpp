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

String Repeat(const char* piece, int times)
{
    String text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// In code page 949 an ASCII character takes one byte and a Hangul syllable
// two, while UTF-8 takes three bytes for the syllable: each row says how
// much of its title 255 code-page bytes hold.
TEST(SysInfoWindowFilter, TitlesKeepWhat255BytesOfCodePage949Hold)
{
    const String hangul200 = Repeat("가", 200); // 400 bytes in the code page
    const struct {
        const char* what;
        String title;
        String kept;
    } rows[] = {
        {"empty", "", ""},
        {"300 ASCII", String(300, 'a'), String(255, 'a')},
        {"exactly 255 ASCII", String(255, 'a'), String(255, 'a')},
        {"200 syllables: 127 fit in 254 bytes", hangul200, Repeat("가", 127)},
        {"one ASCII first: 1 + 127 * 2 = 255", Repeat("a", 1).append(hangul200),
         Repeat("a", 1).append(Repeat("가", 127))},
        {"a syllable on bytes 255 and 256 goes", Repeat("a", 254) + "한b", String(254, 'a')},
        {"a syllable on bytes 254 and 255 stays", Repeat("a", 253) + "한b", Repeat("a", 253) + "한"},
        {"alternating: 85 pairs of 3 bytes are 255", Repeat("a가", 100), Repeat("a가", 85)},
        {"63 runs of 4 bytes are 252, then 2 + 1 more", Repeat("가aa", 100), Repeat("가aa", 63) + "가a"},
        {"a short mixed title stays whole", "탐색기 - C:\\Windows", "탐색기 - C:\\Windows"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ListedWindowTitle(row.title), row.kept) << row.what;
}

TEST(SysInfoWindowFilter, CharactersTheCodePageLacksCountTwoAndAreNeverSplit)
{
    const String emoji = "😀"; // four UTF-8 bytes, a pair of UTF-16 units
    EXPECT_EQ(ListedWindowTitle(String(253, 'b') + emoji + "c"), String(253, 'b') + emoji);
    EXPECT_EQ(ListedWindowTitle(String(254, 'b') + emoji), String(254, 'b'));
    EXPECT_EQ(ListedWindowTitle(Repeat("é", 200)), Repeat("é", 127));
    // A byte that starts no well-formed character stands alone and counts two.
    EXPECT_EQ(ListedWindowTitle(String(253, 'b') + "\xFF" + "c"), String(253, 'b') + "\xFF");
    EXPECT_EQ(ListedWindowTitle(String(254, 'b') + "\xE1\x84"), String(254, 'b'));
    // A truncated sequence is two characters of two each.
    EXPECT_EQ(Cp949PrefixLength("\xE1\x84"
                                "a",
                                4),
              2u);
    EXPECT_EQ(Cp949PrefixLength("\xE1\x84"
                                "a",
                                5),
              3u);
    EXPECT_EQ(Cp949PrefixLength("가나", 3), 3u) << "the second syllable would end past the limit";
    EXPECT_EQ(Cp949PrefixLength("가나", 0), 0u);
}

} // namespace
