// The platform side of the memory and system report and of the display box.
#include "platform/MonitorFallbacks.h"
#include "sysinfo/DisplayClock.h"
#include "sysinfo/SystemReport.h"

#include <gtest/gtest.h>

namespace {

String PrimaryIdentifierAsThePlatformGivesIt()
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    for (DWORD index = 0; ::EnumDisplayDevicesA(nullptr, index, &device, 0); ++index)
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)
            return device.DeviceID;
    return {};
}

FARPROC NoMultiMonitorSupport(const char*)
{
    return nullptr;
}

TEST(SysInfoSystemReport, PrimaryIdentifierComesFromThePrimaryDevice)
{
    ResetMonitorFallbacks();
    const String identifier = PrimaryDisplayIdentifier();
    EXPECT_EQ(identifier, PrimaryIdentifierAsThePlatformGivesIt());
    EXPECT_FALSE(identifier.empty()) << "this machine's primary adapter has an identifier";
}

TEST(SysInfoSystemReport, TheSingleScreenFallbackGivesAnEmptyIdentifier)
{
    ResetMonitorFallbacks(NoMultiMonitorSupport);
    EXPECT_EQ(PrimaryDisplayIdentifier(), "");
    ResetMonitorFallbacks();
}

TEST(SysInfoSystemReport, FirstDisplayDeviceThroughItsOwnLookup)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    ASSERT_TRUE(::EnumDisplayDevicesA(nullptr, 0, &device, 0));
    EXPECT_EQ(QueryFirstDisplayDevice("user32.dll", "EnumDisplayDevicesA"), String(device.DeviceString));
    EXPECT_EQ(QueryFirstDisplayDevice("user32.dll", "NoSuchEnumDisplayDevices"), std::nullopt);
    EXPECT_EQ(QueryFirstDisplayDevice("tamsaek-no-such-library.dll", "EnumDisplayDevicesA"), std::nullopt);
}

TEST(SysInfoSystemReport, ClockMeasurementGivesTicksPerSecond)
{
    // Short intervals: the product measures one whole second.
    EXPECT_GT(MeasureCpuClock(50), 0);
    // A negative interval must not become the platform's endless sleep.
    EXPECT_GE(MeasureCpuClock(-1), 0);
}

} // namespace
