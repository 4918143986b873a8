#pragma once
// Date and file helpers of the framework that need the platform.
#include "ui/DateTime.h"
#include "ui/Text.h"

#include <windows.h>

// True for an existing folder; paths of any length.
bool DirectoryExists(const String& path);
// The user's locale-aware comparison, ignoring case: 0 when equal.
int AnsiCompareText(const String& a, const String& b);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& time);
