#include "ui/Resources.h"

#include "ui/Exception.h"
#include "ui/WideText.h"

#include <windows.h>

std::string_view LoadTextResource(const wchar_t* name)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        throw Exception("the resource " + Narrow(name) + " is missing");
    // Resources stay mapped for the life of the module.
    return {static_cast<const char*>(bytes), ::SizeofResource(module, found)};
}
