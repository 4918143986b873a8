#include "platform/SystemLibrary.h"

#include <cwchar>
#include <string>

namespace platform {

Module LoadSystemLibrary(const wchar_t* name)
{
    // A bare file name only: a path would lead out of the system folder.
    if (!name || !*name || std::wcspbrk(name, L"\\/:"))
        return Module();
    Module library(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    // Windows 7 without its loader update does not know the flag; a full
    // path then does the same.
    if (library || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return library;
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return Module();
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    // The library's own imports are then looked for beside it, in the system folder.
    return Module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

} // namespace platform
