// A WinINet of someone else's, as a web page could leave one in the folder a
// browser saves to. Loaded into a process, it leaves a marker file beside
// itself; it offers the one entry point tamsaek asks WinINet for, so that a
// program that loads it goes on running as if nothing had happened.
#include "platform/UniqueHandle.h"
#include "tests/e2e/Planting.h"

#include <windows.h>

#include <cwchar>

namespace {

void LeaveMarker(HMODULE self)
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    wchar_t* name = length > 0 && length < MAX_PATH ? std::wcsrchr(path, L'\\') : nullptr;
    constexpr std::size_t kMarkerLength = sizeof kPlantedMarker / sizeof kPlantedMarker[0];
    if (!name || static_cast<std::size_t>(name + 1 - path) + kMarkerLength > MAX_PATH)
        return;
    std::wcscpy(name + 1, kPlantedMarker);
    const platform::FileHandle marker(
        ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMarker(self);
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI InternetGetConnectedState(LPDWORD flags, DWORD)
{
    if (flags)
        *flags = 0;
    return FALSE;
}
