#include "sysinfo/DisplayDevices.h"

#include "base/WideText.h"
#include "platform/MonitorFallbacks.h"
#include "platform/SystemLibrary.h"

#include <windows.h>

#include <cstring>

namespace {

using EnumDisplayDevicesFunction = BOOL(WINAPI*)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);

String RecordText(const char* field, std::size_t capacity)
{
    return AnsiToUtf8({field, ::strnlen(field, capacity)});
}

// Every lookup goes through here. The record is cleared for each index:
// the single-screen fallback writes no identifier, which must then read as
// empty, not as whatever an earlier answer left.
std::optional<DisplayDevice> EnumerateDisplayDevice(EnumDisplayDevicesFunction enumerate, DWORD index)
{
    DISPLAY_DEVICEA record;
    std::memset(&record, 0, sizeof record);
    record.cb = sizeof record;
    if (!enumerate(nullptr, index, &record, 0))
        return std::nullopt;
    return DisplayDevice{RecordText(record.DeviceString, sizeof record.DeviceString), record.StateFlags,
                         RecordText(record.DeviceID, sizeof record.DeviceID)};
}

} // namespace

std::optional<DisplayDevice> QueryFirstDisplayDevice(const char* libraryName, const char* entryName)
{
    // A reference of its own, so the library stays while it is used.
    const platform::Module library = platform::LoadSystemLibrary(Widen(libraryName).c_str());
    const auto enumerate = platform::EntryPoint<EnumDisplayDevicesFunction>(library.Get(), entryName);
    if (!enumerate)
        return std::nullopt;
    return EnumerateDisplayDevice(enumerate, 0);
}

String PrimaryDisplayIdentifier()
{
    for (DWORD index = 0;; ++index) {
        const std::optional<DisplayDevice> device = EnumerateDisplayDevice(FallbackEnumDisplayDevices, index);
        if (!device)
            return {};
        if (device->stateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)
            return device->identifier;
    }
}
