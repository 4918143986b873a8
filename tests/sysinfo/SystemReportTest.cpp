// The platform side of the memory and system report and of the display box.
#include "platform/MonitorFallbacks.h"
#include "sysinfo/DisplayClock.h"
#include "sysinfo/SystemReport.h"
#include "tests/support/Fixtures.h"
#include "tests/support/PrimaryAdapter.h"

#include <gtest/gtest.h>

namespace {

FARPROC NoMultiMonitorSupport(const char*)
{
    return nullptr;
}

TEST(SysInfoSystemReport, PrimaryIdentifierComesFromThePrimaryDevice)
{
    ResetMonitorFallbacks();
    const String identifier = PrimaryDisplayIdentifier();
    EXPECT_EQ(identifier, PrimaryAdapterIdentifier().value_or("<no primary adapter>"));
    if (RunningUnderWine()) {
        EXPECT_EQ(identifier, "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00");
    }
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
    // A short interval (the window measures one whole second): its ticks per
    // second are those of some x86 processor of the last thirty years, not a
    // count of ticks, nor the performance counter's own frequency.
    LARGE_INTEGER counter{};
    ASSERT_TRUE(::QueryPerformanceFrequency(&counter));
    const std::int64_t clock = MeasureCpuClock(200);
    EXPECT_GE(clock, 50'000'000) << "performance counter: " << counter.QuadPart << " per second";
    EXPECT_LE(clock, 20'000'000'000) << "performance counter: " << counter.QuadPart << " per second";
    // A negative interval must not become the platform's endless sleep: the
    // call returns, whatever a no-time measurement comes to.
    MeasureCpuClock(-1);
}

} // namespace
