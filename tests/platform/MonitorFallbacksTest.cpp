// The fallback display-device enumeration, with the lookup of USER32's
// multi-monitor entry points played as on platforms that lack some of them.
#include "platform/MonitorFallbacks.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char* const kEntryNames[] = {"GetSystemMetrics",    "MonitorFromWindow", "MonitorFromRect",    "MonitorFromPoint",
                                   "EnumDisplayMonitors", "GetMonitorInfoA",   "EnumDisplayDevicesA"};

// What the lookup was asked, and the one name it pretends not to find.
std::vector<std::string>& Asked()
{
    static std::vector<std::string> asked;
    return asked;
}

std::string& Missing()
{
    static std::string missing;
    return missing;
}

FARPROC LookUpAllButTheMissingOne(const char* name)
{
    Asked().push_back(name);
    if (Missing() == name)
        return nullptr;
    return ::GetProcAddress(::GetModuleHandleW(L"USER32"), name);
}

DISPLAY_DEVICEA FilledRecord(DWORD size)
{
    DISPLAY_DEVICEA record;
    std::memset(&record, 'x', sizeof record);
    record.cb = size;
    return record;
}

bool SameRecord(const DISPLAY_DEVICEA& a, const DISPLAY_DEVICEA& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class MonitorFallbacksTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ResetMonitorFallbacks();
        Asked().clear();
        Missing().clear();
    }

    void PlayMissing(const char* name)
    {
        Asked().clear();
        Missing() = name;
        ResetMonitorFallbacks(LookUpAllButTheMissingOne);
    }
};

TEST_F(MonitorFallbacksTest, WithAllEntryPointsTheRealEnumerationAnswers)
{
    ResetMonitorFallbacks();
    ASSERT_TRUE(InitMonitorFallbacks());
    for (DWORD index = 0; index < 3; ++index) {
        DISPLAY_DEVICEA fallback = FilledRecord(sizeof(DISPLAY_DEVICEA));
        DISPLAY_DEVICEA real = FilledRecord(sizeof(DISPLAY_DEVICEA));
        const BOOL fallbackResult = FallbackEnumDisplayDevices(nullptr, index, &fallback, 0);
        const BOOL realResult = ::EnumDisplayDevicesA(nullptr, index, &real, 0);
        EXPECT_EQ(fallbackResult, realResult) << index;
        EXPECT_TRUE(SameRecord(fallback, real)) << index;
        if (fallbackResult) {
            EXPECT_STRNE(fallback.DeviceName, "DISPLAY") << "the fallback's constants never appear";
            EXPECT_STRNE(fallback.DeviceString, "DISPLAY");
        }
    }
}

TEST_F(MonitorFallbacksTest, AnyOneMissingEntryPointMeansFallbackMode)
{
    for (const char* name : kEntryNames) {
        PlayMissing(name);
        EXPECT_FALSE(InitMonitorFallbacks()) << name;
        DISPLAY_DEVICEA record = FilledRecord(sizeof(DISPLAY_DEVICEA));
        EXPECT_TRUE(FallbackEnumDisplayDevices(nullptr, 0, &record, 0)) << name;
        EXPECT_STREQ(record.DeviceName, "DISPLAY") << name;
    }
}

TEST_F(MonitorFallbacksTest, LookupStopsAtTheFirstMissingNameAndHappensOnce)
{
    PlayMissing("MonitorFromRect");
    EXPECT_FALSE(InitMonitorFallbacks());
    EXPECT_EQ(Asked(), (std::vector<std::string>{"GetSystemMetrics", "MonitorFromWindow", "MonitorFromRect"}));
    DISPLAY_DEVICEA record = FilledRecord(sizeof(DISPLAY_DEVICEA));
    FallbackEnumDisplayDevices(nullptr, 0, &record, 0);
    EXPECT_FALSE(InitMonitorFallbacks());
    EXPECT_EQ(Asked().size(), 3u) << "a failed lookup is not tried again";

    PlayMissing("nothing");
    EXPECT_TRUE(InitMonitorFallbacks());
    EXPECT_TRUE(InitMonitorFallbacks());
    EXPECT_EQ(Asked().size(), 7u) << "all seven, once";
}

TEST_F(MonitorFallbacksTest, FallbackAnswersForOnePrimaryScreen)
{
    PlayMissing("GetMonitorInfoA");
    DISPLAY_DEVICEA record = FilledRecord(424);
    ASSERT_TRUE(FallbackEnumDisplayDevices(nullptr, 0, &record, 0));
    EXPECT_STREQ(record.DeviceName, "DISPLAY");
    EXPECT_STREQ(record.DeviceString, "DISPLAY");
    EXPECT_EQ(record.StateFlags, 5u) << "attached to the desktop and primary";
    EXPECT_EQ(record.cb, 424u);
    EXPECT_EQ(record.DeviceID[0], 'x') << "the identifier is not written";
    EXPECT_EQ(record.DeviceKey[sizeof record.DeviceKey - 1], 'x') << "nor the registry key";

    DISPLAY_DEVICEA flagged = FilledRecord(424);
    EXPECT_TRUE(FallbackEnumDisplayDevices(nullptr, 0, &flagged, 0xFFFFFFFF)) << "the flags are not looked at";
}

TEST_F(MonitorFallbacksTest, FallbackRefusesEverythingButTheFirstDeviceInAWholeRecord)
{
    PlayMissing("EnumDisplayDevicesA");
    const DISPLAY_DEVICEA untouched = FilledRecord(424);

    DISPLAY_DEVICEA second = untouched;
    EXPECT_FALSE(FallbackEnumDisplayDevices(nullptr, 1, &second, 0));
    EXPECT_TRUE(SameRecord(second, untouched));

    DISPLAY_DEVICEA small = FilledRecord(423);
    const DISPLAY_DEVICEA smallBefore = small;
    EXPECT_FALSE(FallbackEnumDisplayDevices(nullptr, 0, &small, 0));
    EXPECT_TRUE(SameRecord(small, smallBefore));

    DISPLAY_DEVICEA named = untouched;
    EXPECT_FALSE(FallbackEnumDisplayDevices("\\\\.\\DISPLAY1", 0, &named, 0));
    EXPECT_TRUE(SameRecord(named, untouched));

    EXPECT_FALSE(FallbackEnumDisplayDevices(nullptr, 0, nullptr, 0));
}

} // namespace
