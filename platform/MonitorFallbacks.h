#pragma once
// Display-device enumeration that also works where USER32 lacks the
// multi-monitor entry points: then it answers for one primary screen.
#include <windows.h>

// Takes the arguments and gives the result of EnumDisplayDevicesA, whose
// place it can take.
BOOL WINAPI FallbackEnumDisplayDevices(LPCSTR device, DWORD index, PDISPLAY_DEVICEA record, DWORD flags);

// Looks the seven multi-monitor entry points up once per process; true when
// all are there and the real enumeration is used.
bool InitMonitorFallbacks();

// Finds one entry point of USER32 by name; null when it is missing.
using MonitorEntryLookup = FARPROC (*)(const char* name);

// Forgets the outcome of the lookup, so that the next call looks up again
// through `lookup` (null: USER32 itself). Lets tests play a platform
// without some of the entry points.
void ResetMonitorFallbacks(MonitorEntryLookup lookup = nullptr);
