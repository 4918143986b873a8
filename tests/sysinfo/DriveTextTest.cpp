#include "sysinfo/DriveText.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using Texts = std::vector<String>;

TEST(SysInfoDriveText, LettersInAscendingOrderOneCharacterEach)
{
    EXPECT_EQ(DriveLetters(0b1101), (Texts{"A", "C", "D"}));
    EXPECT_TRUE(DriveLetters(0).empty());
    EXPECT_EQ(DriveLetters(0xFC000004u), (Texts{"C"})) << "bits above Z add nothing";
    const Texts all = DriveLetters(0x03FFFFFFu);
    ASSERT_EQ(all.size(), 26u);
    EXPECT_EQ(all.front(), "A");
    EXPECT_EQ(all.back(), "Z");
}

TEST(SysInfoDriveText, DriveTypeTable)
{
    const Texts expected = {"Unknown",       "(Not Available)", "Removable Drive", "Hard Drive",
                            "Network Drive", "CD-ROM Drive",    "RAM Drive"};
    for (std::uint32_t type = 0; type < expected.size(); ++type)
        EXPECT_EQ(DriveTypeText(type), expected[type]) << type;
    EXPECT_EQ(DriveTypeText(7), "");
    EXPECT_EQ(DriveTypeText(0xFFFFFFFFu), "");
}

TEST(SysInfoDriveText, KilobytesRoundTowardMinusInfinity)
{
    EXPECT_EQ(BytesToKB(0), 0);
    EXPECT_EQ(BytesToKB(1023), 0);
    EXPECT_EQ(BytesToKB(1024), 1);
    EXPECT_EQ(BytesToKB(1536), 1);
    EXPECT_EQ(BytesToKB(-1), -1);
    EXPECT_EQ(BytesToKB(-1024), -1);
    EXPECT_EQ(BytesToKB(-1025), -2);
}

TEST(SysInfoDriveText, TwoTebibytesAndMoreDoNotWrap)
{
    EXPECT_EQ(BytesToKB(std::int64_t{1} << 41), std::int64_t{1} << 31);
    EXPECT_EQ(BytesToKB(std::int64_t{16} << 40), std::int64_t{16} << 30);
    EXPECT_EQ(BytesToKB(std::numeric_limits<std::int64_t>::max()), 9'007'199'254'740'991);
}

TEST(SysInfoDriveText, SixLinesInOrder)
{
    DriveDetails drive;
    drive.volumeName = "한글볼륨";
    drive.serial = 0xABCD;
    drive.fileSystem = "NTFS";
    drive.driveType = 3;
    drive.freeBytes = 1536;
    drive.totalBytes = std::int64_t{3} << 41;
    EXPECT_EQ(DriveDetailLines(drive),
              (Texts{"Volum Name : 한글볼륨", "Volum Serial : 0000ABCD", "File System : NTFS",
                     "Drive Type : Hard Drive", "Free Space : 1 KB", "Total Space : 6442450944 KB"}));
    drive.serial = 0xFFFFFFFF;
    drive.driveType = 9;
    const Texts lines = DriveDetailLines(drive);
    EXPECT_EQ(lines[1], "Volum Serial : FFFFFFFF");
    EXPECT_EQ(lines[3], "Drive Type : ") << "a type beyond the table leaves the line bare";
    EXPECT_EQ(lines[2], "File System : NTFS");
    EXPECT_EQ(lines[4], "Free Space : 1 KB");
}

TEST(SysInfoDriveText, ADriveThatDidNotAnswerStillHasSixLines)
{
    DriveDetails unanswered;
    unanswered.driveType = 1;
    EXPECT_EQ(DriveDetailLines(unanswered),
              (Texts{"Volum Name : ", "Volum Serial : 00000000", "File System : ", "Drive Type : (Not Available)",
                     "Free Space : -1 KB", "Total Space : -1 KB"}));
}

} // namespace
