// The probes of the information window that its own test cannot steer:
// the display-device lookups and the clock measurement.
#include "platform/MonitorFallbacks.h"
#include "sysinfo/CpuClock.h"
#include "sysinfo/DisplayDevices.h"
#include "tests/support/Fixtures.h"
#include "tests/support/PrimaryAdapter.h"

#include <gtest/gtest.h>

namespace {

FARPROC NoMultiMonitorSupport(const char*)
{
    return nullptr;
}

TEST(SysInfoProbes, PrimaryIdentifierComesFromThePrimaryDevice)
{
    ResetMonitorFallbacks();
    const String identifier = PrimaryDisplayIdentifier();
    EXPECT_EQ(identifier, PrimaryAdapterIdentifier().value_or("<no primary adapter>"));
    if (RunningUnderWine()) {
        EXPECT_EQ(identifier, "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00");
    }
}

TEST(SysInfoProbes, TheSingleScreenFallbackGivesAnEmptyIdentifier)
{
    ResetMonitorFallbacks(NoMultiMonitorSupport);
    EXPECT_EQ(PrimaryDisplayIdentifier(), "");
    ResetMonitorFallbacks();
}

TEST(SysInfoProbes, FirstDisplayDeviceThroughItsOwnLookup)
{
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    ASSERT_TRUE(::EnumDisplayDevicesA(nullptr, 0, &device, 0));
    const std::optional<DisplayDevice> first = QueryFirstDisplayDevice("user32.dll", "EnumDisplayDevicesA");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->description, String(device.DeviceString));
    EXPECT_EQ(first->identifier, String(device.DeviceID));
    EXPECT_EQ(first->stateFlags, device.StateFlags);
    EXPECT_FALSE(QueryFirstDisplayDevice("user32.dll", "NoSuchEnumDisplayDevices"));
    EXPECT_FALSE(QueryFirstDisplayDevice("tamsaek-no-such-library.dll", "EnumDisplayDevicesA"));
}

TEST(SysInfoProbes, ClockMeasurementGivesTicksPerSecond)
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
