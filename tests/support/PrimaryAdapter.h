#pragma once
// The primary display adapter found the other way round from the program:
// from the monitor that holds the screen's origin to the adapter of that name.
#include "base/WideText.h"

#include <windows.h>

#include <optional>
#include <string>

inline std::optional<String> PrimaryAdapterIdentifier()
{
    MONITORINFOEXW monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return std::nullopt;
    DISPLAY_DEVICEW adapter{};
    adapter.cb = sizeof adapter;
    for (DWORD index = 0; ::EnumDisplayDevicesW(nullptr, index, &adapter, 0); ++index)
        if (std::wstring(adapter.DeviceName) == monitor.szDevice)
            return Narrow(adapter.DeviceID);
    return std::nullopt;
}
