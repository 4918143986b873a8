#include "platform/ProcessMitigations.h"

#include "platform/SystemLibrary.h"

#include <windows.h>

namespace platform {

namespace {

using FlagsFunction = BOOL(WINAPI*)(DWORD);

// Looked up, not imported: Windows 7 without its loader update lacks
// SetDefaultDllDirectories, and an import would stop the program starting.
FlagsFunction KernelEntry(const char* name)
{
    return EntryPoint<FlagsFunction>(::GetModuleHandleW(L"kernel32.dll"), name);
}

} // namespace

void HardenProcess()
{
    ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    if (const FlagsFunction setDefault = KernelEntry("SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else
        // Takes at least the current folder out of the search.
        ::SetDllDirectoryW(L"");
#if !defined(_WIN64)
    // 64-bit processes have DEP always; a 32-bit one could otherwise turn it off.
    if (const FlagsFunction setDep = KernelEntry("SetProcessDEPPolicy"))
        setDep(PROCESS_DEP_ENABLE);
#endif
}

} // namespace platform
