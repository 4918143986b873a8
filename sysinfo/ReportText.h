#pragma once
// What the memory and system report shows, from the answers of the platform.
#include "base/Text.h"

#include <array>
#include <cstdint>
#include <optional>

// Whole mebibytes, the remainder dropped.
std::uint64_t WholeMebibytes(std::uint64_t bytes);

// The two four-character pieces of a display adapter's identifier shown by
// the report: from its 8th and from its 17th character (counting from 1),
// cut at its end, empty where they would start beyond it.
struct IdentifierPieces {
    String first;
    String second;
};
IdentifierPieces SplitDisplayIdentifier(std::string_view identifier);

// Expanded in this order; the expansions themselves are not shown.
inline constexpr std::array<const char*, 4> kEnvironmentTemplates = {
    "OS         = %OS%",
    "PATH       = %PATH%",
    "HOMEPATH   = %HOMEPATH%",
    "TEMP       = %TEMP%",
};

// The box an expansion calls for, from the count the platform answered
// for a buffer of `capacity`: none for a success.
std::optional<String> ExpansionFailureText(std::string_view templateText, std::uint32_t count, std::uint32_t capacity);

// The processor and memory-layout facts of the report. Addresses and the
// processor mask are pointer-sized on the platform: kept whole here.
struct HardwareFacts {
    std::uint32_t oemId = 0;
    std::uint32_t processors = 0;
    std::uint32_t pageSize = 0;
    std::uint32_t processorType = 0;
    std::uint64_t minimumAddress = 0;
    std::uint64_t maximumAddress = 0;
    std::uint64_t activeProcessorMask = 0;
};

// The seven box texts, each ending in a line feed.
std::array<String, 7> HardwareLines(const HardwareFacts& facts);

// Time-stamp ticks per second from two samples of both counters. Both
// differences wrap as unsigned 64-bit values and so does the product; 0
// when the performance counter did not advance, which leaves no quotient.
std::int64_t TicksPerSecond(std::uint64_t ticksBefore, std::uint64_t ticksAfter, std::uint64_t countBefore,
                            std::uint64_t countAfter, std::uint64_t countsPerSecond);

// "Clock = 2600000000".
String ClockText(std::int64_t ticksPerSecond);
