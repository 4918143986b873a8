#pragma once
// The processor clock, measured against the performance counter.
#include <cstdint>

// Time-stamp ticks per second, measured across a sleep of `milliseconds`
// (a negative interval sleeps not at all).
std::int64_t MeasureCpuClock(int milliseconds);

// The processor's time-stamp counter, as its two 32-bit halves. In
// parentheses because the platform's headers define a function-like macro
// of the same name.
void(ReadTimeStampCounter)(std::uint32_t* low, std::uint32_t* high);
