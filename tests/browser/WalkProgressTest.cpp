#include "browser/WalkProgress.h"

#include "base/WideText.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(WalkProgress, NumbersAreGroupedByThousands)
{
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(12345), "12,345");
    EXPECT_EQ(GroupedNumber(100000), "100,000");
    EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
}

TEST(WalkProgress, ShowsTheCountAndTheFolderBeingRead)
{
    TWalkProgress window(nullptr);
    window.Show();
    window.Report(12345, "C:\\Windows\\System32\\");
    EXPECT_EQ(window.Label1->Text(), "폴더를 읽는 중…");
    EXPECT_EQ(window.FolderCount->Text(), "읽은 폴더: 12,345개");
    EXPECT_EQ(window.FolderPath->Text(), "C:\\Windows\\System32\\");
    EXPECT_TRUE(::GetWindowLongW(window.FolderPath->Handle(), GWL_STYLE) & SS_PATHELLIPSIS);
    EXPECT_FALSE(::GetWindowLongW(window.Handle(), GWL_STYLE) & WS_THICKFRAME) << "a fixed dialog border";
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 420);
    EXPECT_EQ(client.bottom, 74);
}

} // namespace
