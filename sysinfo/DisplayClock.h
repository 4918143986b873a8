#pragma once
// The first display device's name in a box, and the clock of the window.
#include "base/Text.h"

#include <optional>

class TSysInfoTest;

// One box with the description of display device 0; none when the
// enumeration entry point is missing or finds no device.
void ShowDisplayDevice(TSysInfoTest& form);

// The description of display device 0, enumerated through the entry point
// `entryName` of the library `libraryName`; null when either is missing or
// the enumeration finds no device.
std::optional<String> QueryFirstDisplayDevice(const char* libraryName, const char* entryName);
