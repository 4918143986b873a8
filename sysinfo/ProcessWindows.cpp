#include "sysinfo/ProcessWindows.h"

#include "platform/UniqueHandle.h"
#include "sysinfo/SysInfoWindow.h"
#include "sysinfo/WindowFilter.h"
#include "ui/WideText.h"

#include <tlhelp32.h>

#include <iterator>
#include <vector>

namespace {

String ReadWindowTitle(HWND window)
{
    // Twice the kept length in UTF-16 units: every unit becomes at least one
    // byte, so the cut never reaches a pair this read may have split.
    wchar_t title[2 * kWindowTitleLimit + 2] = {};
    const int length = ::GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    return ListedWindowTitle(Narrow({title, static_cast<std::size_t>(length > 0 ? length : 0)}));
}

std::uint32_t StyleWord(HWND window, int index)
{
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(window, index));
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

} // namespace

BOOL CALLBACK WindowListProc(HWND window, LPARAM context)
{
    // Nothing may unwind through the platform's enumeration.
    try {
        const String title = ReadWindowTitle(window);
        if (title.empty())
            return TRUE;
        if (QualifiesForWindowList(StyleWord(window, GWL_STYLE), StyleWord(window, GWL_EXSTYLE)))
            reinterpret_cast<TSysInfoTest*>(context)->ListBox1->Items.Add(title);
    } catch (...) {
    }
    return TRUE;
}

void FillProcessList(TSysInfoTest& form)
{
    for (const String& name : RunningProcessNames())
        form.ListBox2->Items.Add(name);
}
