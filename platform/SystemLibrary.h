#pragma once
// Libraries loaded at run time, from the system folder only.
#include "platform/UniqueHandle.h"

#include <windows.h>

namespace platform {

// `name` (a bare file name such as L"wininet.dll") from the system folder,
// never from the program's own folder or the current one, where a file of
// that name may have been left by someone else. Null when it cannot be
// loaded from there.
Module LoadSystemLibrary(const wchar_t* name);

// The entry point `name` of `library`, as a pointer of the caller's type;
// null when the library or the entry point is missing.
template <class Function>
Function EntryPoint(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

} // namespace platform
