#include "sysinfo/DisplayClock.h"

#include "platform/UniqueHandle.h"
#include "sysinfo/SysInfoWindow.h"
#include "ui/Dialogs.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <cstring>

std::optional<String> QueryFirstDisplayDevice(const char* libraryName, const char* entryName)
{
    using EnumDisplayDevicesFunction = BOOL(WINAPI*)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);
    // A reference of its own, so the library stays while it is used.
    const platform::Module library(::LoadLibraryW(Widen(libraryName).c_str()));
    if (!library)
        return std::nullopt;
    const FARPROC entry = ::GetProcAddress(library.Get(), entryName);
    if (!entry)
        return std::nullopt;
    const auto enumerate = reinterpret_cast<EnumDisplayDevicesFunction>(reinterpret_cast<void (*)()>(entry));
    DISPLAY_DEVICEA device;
    std::memset(&device, 0, sizeof device);
    device.cb = sizeof device;
    if (!enumerate(nullptr, 0, &device, 0))
        return std::nullopt;
    return AnsiToUtf8({device.DeviceString, ::strnlen(device.DeviceString, sizeof device.DeviceString)});
}

void ShowDisplayDevice(TSysInfoTest&)
{
    if (const std::optional<String> description = QueryFirstDisplayDevice("user32.dll", "EnumDisplayDevicesA"))
        ShowMessage(*description);
}

void TSysInfoTest::OnTimerEvent(TObject*)
{
    TimeEdit->SetText(TimeToStr(Now()));
}
