#pragma once
// The display devices, as the platform's 8-bit enumeration answers.
#include "base/Text.h"

#include <cstdint>
#include <optional>

struct DisplayDevice {
    String description;
    std::uint32_t stateFlags = 0;
    String identifier;
};

// Display device 0, enumerated through the entry point `entryName` of the
// library `libraryName`; null when either is missing or the enumeration
// finds no device.
std::optional<DisplayDevice> QueryFirstDisplayDevice(const char* libraryName, const char* entryName);

// The identifier of the first device marked primary, enumerated through the
// multi-monitor fallbacks; empty when there is none.
String PrimaryDisplayIdentifier();
