#pragma once
// Date and file helpers of the framework that need the platform.
#include "base/DateTime.h"
#include "base/Text.h"

#include <windows.h>

#include <cstdint>

// True for an existing folder; paths of any length.
bool DirectoryExists(const String& path);
// The user's locale-aware comparison, ignoring case: 0 when equal.
int AnsiCompareText(const String& a, const String& b);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& time);

// The local date and time.
TDateTime Now();
// The time part alone, in the user's long time format; empty if the value
// has no valid time.
String TimeToStr(TDateTime value);

// Free bytes available to the caller and total bytes of a drive: 1 is A,
// 26 is Z, 0 the current drive. -1 when the drive cannot be queried.
std::int64_t DiskFree(int drive);
std::int64_t DiskSize(int drive);
