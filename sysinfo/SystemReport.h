#pragma once
// Memory figures, the primary display adapter, names, environment,
// hardware facts and the processor clock.
#include "base/Text.h"

#include <cstdint>

class TSysInfoTest;

// Fills MemField and AbleMemField; two boxes with pieces of the primary
// display adapter's identifier, or none when it has no identifier.
void ShowMemoryInfo(TSysInfoTest& form);
// Fills ComNameEdit and UserNameEdit; a box per failure, the seven hardware
// boxes, then the measured clock.
void ShowSystemInfo(TSysInfoTest& form);

// The device identifier of the first display device marked primary, empty
// when there is none.
String PrimaryDisplayIdentifier();

// Time-stamp ticks per second, measured across a sleep of `milliseconds`
// (a negative interval sleeps not at all).
std::int64_t MeasureCpuClock(int milliseconds);
// The processor's time-stamp counter, as its two 32-bit halves. In
// parentheses because the platform's headers define a function-like macro
// of the same name.
void(ReadTimeStampCounter)(std::uint32_t* low, std::uint32_t* high);
