// The framework's clock and disk helpers, against the test prefix's drives.
#include "platform/SysUtils.h"
#include "tests/support/DateParts.h"

#include <gtest/gtest.h>

namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second)
{
    return EncodeDateTime(DateParts(year, month, day, hour, minute, second));
}

TEST(TimeAndDisk, TimeToStrShowsTheTimeOfDayAndNoDate)
{
    const String afternoon = TimeToStr(At(2006, 5, 9, 14, 3, 7));
    ASSERT_FALSE(afternoon.empty());
    EXPECT_EQ(afternoon, TimeToStr(At(1999, 12, 31, 14, 3, 7))) << "the date part plays no role";
    EXPECT_NE(afternoon.find("03"), String::npos) << afternoon;
    EXPECT_NE(afternoon.find("07"), String::npos) << afternoon;
    EXPECT_EQ(afternoon.find("2006"), String::npos) << afternoon;
    EXPECT_EQ(afternoon.find("09"), String::npos) << afternoon;
    EXPECT_NE(afternoon, TimeToStr(At(2006, 5, 9, 14, 3, 8)));
    EXPECT_NE(TimeToStr(At(2006, 5, 9, 0, 0, 0)), TimeToStr(At(2006, 5, 9, 12, 0, 0)));
}

TEST(TimeAndDisk, DiskFiguresOfDriveC)
{
    // The total as the platform answers it; the free space moves meanwhile.
    ULARGE_INTEGER total{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", nullptr, &total, nullptr));
    EXPECT_EQ(DiskSize(3), static_cast<std::int64_t>(total.QuadPart));
    const std::int64_t free = DiskFree(3);
    EXPECT_GE(free, 0);
    EXPECT_LE(free, DiskSize(3));
}

TEST(TimeAndDisk, DrivesThatCannotBeQueriedGiveMinusOne)
{
    const DWORD mask = ::GetLogicalDrives();
    int missing = 0;
    for (int bit = 25; bit >= 0 && !missing; --bit)
        if (!(mask & (1u << bit)))
            missing = bit + 1;
    ASSERT_NE(missing, 0) << "every letter is in use";
    EXPECT_EQ(DiskFree(missing), -1);
    EXPECT_EQ(DiskSize(missing), -1);
    for (int outside : {-1, 27, 1000}) {
        EXPECT_EQ(DiskFree(outside), -1) << outside;
        EXPECT_EQ(DiskSize(outside), -1) << outside;
    }
}

} // namespace
