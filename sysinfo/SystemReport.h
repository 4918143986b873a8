#pragma once
// Memory figures, names, environment and hardware facts, as the platform
// answers.
#include "sysinfo/ReportText.h"

#include <cstdint>
#include <optional>

// The size every call that fills the report's work buffer is given.
inline constexpr std::uint32_t kWorkBufferSize = 32767;

struct MemoryFigures {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};
MemoryFigures QueryMemory();

// Null when the call fails, so that a failed query shows nothing rather
// than what an earlier one left in a buffer.
std::optional<String> QueryComputerName();
std::optional<String> QueryUserName();

// The count the expansion of `templateText` answers for the work buffer:
// 0 for a failure, more than kWorkBufferSize when it does not fit.
std::uint32_t ExpandTemplate(const char* templateText);

HardwareFacts QueryHardware();
