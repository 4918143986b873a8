#include "platform/MonitorFallbacks.h"

#include <cstring>

namespace {

// The order in which the entry points are looked up; the first missing one
// ends the lookup.
constexpr const char* kEntryNames[] = {
    "GetSystemMetrics",    "MonitorFromWindow", "MonitorFromRect",     "MonitorFromPoint",
    "EnumDisplayMonitors", "GetMonitorInfoA",   "EnumDisplayDevicesA",
};
constexpr std::size_t kEntryCount = sizeof kEntryNames / sizeof kEntryNames[0];
constexpr std::size_t kGetMonitorInfo = 5;
constexpr std::size_t kEnumDisplayDevices = 6;

// The fallback fills the record as the platform's 8-bit form lays it out.
constexpr DWORD kRecordSize = 424;
static_assert(sizeof(DISPLAY_DEVICEA) == kRecordSize);

struct MonitorModule {
    FARPROC entries[kEntryCount] = {};
    bool initialised = false;
    MonitorEntryLookup lookup = nullptr;
};

MonitorModule& Module()
{
    static MonitorModule module;
    return module;
}

FARPROC LookUpInUser32(const char* name)
{
    // Already loaded in every GUI process: no reference of our own is taken.
    HMODULE user32 = ::GetModuleHandleW(L"USER32");
    return user32 ? ::GetProcAddress(user32, name) : nullptr;
}

using EnumDisplayDevicesFunction = BOOL(WINAPI*)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);

EnumDisplayDevicesFunction AsEnumDisplayDevices(FARPROC entry)
{
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<EnumDisplayDevicesFunction>(reinterpret_cast<void (*)()>(entry));
}

template <std::size_t N>
void PutText(CHAR (&field)[N], const char* text)
{
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

} // namespace

bool InitMonitorFallbacks()
{
    MonitorModule& module = Module();
    if (module.initialised)
        return module.entries[kGetMonitorInfo] != nullptr;
    const MonitorEntryLookup lookup = module.lookup ? module.lookup : LookUpInUser32;
    bool all = true;
    for (std::size_t i = 0; i < kEntryCount && all; ++i) {
        module.entries[i] = lookup(kEntryNames[i]);
        all = module.entries[i] != nullptr;
    }
    // Used all together or not at all.
    if (!all)
        for (FARPROC& entry : module.entries)
            entry = nullptr;
    module.initialised = true;
    return all;
}

BOOL WINAPI FallbackEnumDisplayDevices(LPCSTR device, DWORD index, PDISPLAY_DEVICEA record, DWORD flags)
{
    if (InitMonitorFallbacks())
        return AsEnumDisplayDevices(Module().entries[kEnumDisplayDevices])(device, index, record, flags);
    // One screen, the primary, and nothing behind it.
    if (device || index != 0 || !record || record->cb < kRecordSize)
        return FALSE;
    PutText(record->DeviceName, "DISPLAY");
    PutText(record->DeviceString, "DISPLAY");
    record->StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
    return TRUE;
}

void ResetMonitorFallbacks(MonitorEntryLookup lookup)
{
    Module() = MonitorModule{};
    Module().lookup = lookup;
}
