#include "sysinfo/ProcessWindows.h"

#include "base/WideText.h"
#include "platform/UniqueHandle.h"
#include "sysinfo/WindowFilter.h"

#include <windows.h>

#include <tlhelp32.h>

#include <iterator>

namespace {

String ReadWindowTitle(HWND window)
{
    // Twice the kept length in UTF-16 units: every unit counts at least one
    // byte, so the cut never reaches a pair this read may have split.
    wchar_t title[2 * kWindowTitleLimit + 2] = {};
    const int length = ::GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return ListedWindowTitle(Narrow({title, static_cast<std::size_t>(length > 0 ? length : 0)}));
}

std::uint32_t StyleWord(HWND window, int index)
{
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(window, index));
}

// The context is the vector of titles being collected.
BOOL CALLBACK WindowListProc(HWND window, LPARAM context)
{
    // Nothing may unwind through the platform's enumeration: a window whose
    // title cannot be taken is left out, and the enumeration goes on.
    try {
        const String title = ReadWindowTitle(window);
        if (title.empty())
            return TRUE;
        if (QualifiesForWindowList(StyleWord(window, GWL_STYLE), StyleWord(window, GWL_EXSTYLE)))
            reinterpret_cast<std::vector<String>*>(context)->push_back(title);
    } catch (...) {
    }
    return TRUE;
}

} // namespace

std::vector<String> ListedWindowTitles()
{
    std::vector<String> titles;
    ::EnumWindows(WindowListProc, reinterpret_cast<LPARAM>(&titles));
    return titles;
}

std::vector<String> RunningProcessNames()
{
    std::vector<String> names;
    const platform::FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return names;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL found = ::Process32FirstW(snapshot.Get(), &process); found;
         found = ::Process32NextW(snapshot.Get(), &process))
        names.push_back(Narrow(process.szExeFile));
    return names;
}
