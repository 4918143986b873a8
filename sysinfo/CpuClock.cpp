#include "sysinfo/CpuClock.h"

#include "sysinfo/ReportText.h"

#include <windows.h>

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <x86intrin.h>
#endif

namespace {

std::uint64_t PerformanceCount()
{
    LARGE_INTEGER count{};
    ::QueryPerformanceCounter(&count);
    return static_cast<std::uint64_t>(count.QuadPart);
}

std::uint64_t TimeStamp()
{
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    (ReadTimeStampCounter)(&low, &high);
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

} // namespace

void(ReadTimeStampCounter)(std::uint32_t* low, std::uint32_t* high)
{
    const std::uint64_t ticks = __rdtsc();
    *low = static_cast<std::uint32_t>(ticks);
    *high = static_cast<std::uint32_t>(ticks >> 32);
}

std::int64_t MeasureCpuClock(int milliseconds)
{
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    // Each sample reads the performance counter first, the time stamp second.
    const std::uint64_t countBefore = PerformanceCount();
    const std::uint64_t ticksBefore = TimeStamp();
    // A negative interval would be an endless sleep to the platform.
    ::Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
    const std::uint64_t countAfter = PerformanceCount();
    const std::uint64_t ticksAfter = TimeStamp();
    return TicksPerSecond(ticksBefore, ticksAfter, countBefore, countAfter,
                          static_cast<std::uint64_t>(frequency.QuadPart));
}
