#include "ui/Resources.h"

#include "base/WideText.h"
#include "platform/PlatformError.h"

#include <windows.h>

std::string_view LoadTextResource(const wchar_t* name)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) {
        const DWORD error = ::GetLastError();
        throw PlatformError("the resource " + Narrow(name) + " is missing", error);
    }
    // Resources stay mapped for the life of the module.
    return {static_cast<const char*>(bytes), ::SizeofResource(module, found)};
}
