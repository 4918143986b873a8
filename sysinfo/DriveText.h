#pragma once
// What the drive list and the drive details show, from the answers of the
// platform.
#include "base/Text.h"

#include <cstdint>
#include <vector>

// One upper-case letter per drive bit of the mask, A (bit 0) to Z (bit 25),
// in ascending order; the six bits above Z mean nothing.
std::vector<String> DriveLetters(std::uint32_t mask);

// The text of a platform drive type; empty for a type the table lacks.
String DriveTypeText(std::uint32_t type);

// Whole kilobytes, rounding toward minus infinity: -1 bytes is -1 KB.
std::int64_t BytesToKB(std::int64_t bytes);

// One drive as the queries found it. A failed volume query leaves the
// name, serial and file system at these values.
struct DriveDetails {
    String volumeName;
    std::uint32_t serial = 0;
    String fileSystem;
    std::uint32_t driveType = 0;
    std::int64_t freeBytes = -1;
    std::int64_t totalBytes = -1;
};

// The six lines of the drive details, in their order.
std::vector<String> DriveDetailLines(const DriveDetails& drive);
