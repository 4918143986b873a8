#include "tests/e2e/Remote.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

// Generous: the program may be busy for a second measuring its clock. The
// bound alone tells a hang: the platform's own test for a hung window (five
// seconds without reading its queue) also fires when a loaded machine makes
// the start-up that long before the message loop first runs.
constexpr UINT kAnswerTimeoutMs = 15000;
constexpr int kTextCapacity = 1024;

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == found->first && ::IsWindowVisible(window))
        found->second.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

std::string RectText(const RECT& rect)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%ld, %ld) to (%ld, %ld)", static_cast<long>(rect.left),
                  static_cast<long>(rect.top), static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    return text;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

std::vector<std::string> PlacementFaults(HWND window, const std::string& name)
{
    std::vector<std::string> faults;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return {name + ": no monitor information"};
    RECT outer{};
    ::GetWindowRect(window, &outer);
    if (!Inside(outer, monitor.rcWork))
        faults.push_back(name + " at " + RectText(outer) + " is not inside the work area " + RectText(monitor.rcWork));
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT visible{};
    ::IntersectRect(&visible, &client, &monitor.rcWork);
    for (HWND control : Descendants(window)) {
        // A control inside a hidden parent is not seen either.
        if (!::IsWindowVisible(control))
            continue;
        RECT r{};
        ::GetWindowRect(control, &r);
        if (!Inside(r, visible))
            faults.push_back(name + " " + Utf8(ClassOf(control)) + " \"" +
                             Printable(WindowText(control).substr(0, 24)) + "\" at " + RectText(r) +
                             " is not inside the visible client area " + RectText(visible));
    }
    return faults;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

std::string Printable(const std::wstring& text)
{
    std::wstring shown;
    for (wchar_t c : text) {
        if (c == L'\n')
            shown += L"\\n";
        else if (c == L'\r')
            shown += L"\\r";
        else if (c == L'\t')
            shown += L"\\t";
        else if (c < L' ') {
            wchar_t escape[8];
            std::swprintf(escape, 8, L"\\x%02x", static_cast<unsigned>(c));
            shown += escape;
        } else
            shown += c;
    }
    return Utf8(shown);
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, kAnswerTimeoutMs, &result)) {
        char text[96];
        std::snprintf(text, sizeof text, "window %p did not answer message 0x%04x (error %lu)",
                      static_cast<void*>(window), message, ::GetLastError());
        throw Failure(text);
    }
    return static_cast<LRESULT>(result);
}

std::vector<std::wstring> PathArguments(size_t count, const char* usage)
{
    int words = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &words);
    if (!argv)
        throw Failure("cannot read the command line");
    std::vector<std::wstring> arguments(argv + (words > 0 ? 1 : 0), argv + words);
    ::LocalFree(argv);
    if (arguments.size() != count)
        throw Failure(std::string("usage: ") + usage);
    for (std::wstring& argument : arguments)
        argument = WindowsPath(argument);
    return arguments;
}

std::wstring WindowText(HWND window)
{
    const auto length = static_cast<int>(Ask(window, WM_GETTEXTLENGTH));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> found{processId, {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> children;
    ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className)
{
    std::vector<HWND> matching;
    for (HWND child : Descendants(parent))
        if (::lstrcmpiW(ClassOf(child).c_str(), className) == 0)
            matching.push_back(child);
    return matching;
}

HWND OnlyChild(HWND parent, const wchar_t* className, const wchar_t* text)
{
    std::vector<HWND> matching;
    for (HWND child : ChildrenOfClass(parent, className))
        if (!text || WindowText(child) == text)
            matching.push_back(child);
    if (matching.size() != 1)
        throw Failure("expected one " + Utf8(className) + (text ? " \"" + Utf8(text) + "\"" : std::string()) +
                      " in window \"" + Utf8(WindowText(parent)) + "\", found " + std::to_string(matching.size()));
    return matching.front();
}

RemoteMemory::RemoteMemory(HANDLE process, std::size_t size)
    : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
{
    if (!address_)
        throw Failure("cannot lend memory in the program's process (error " + std::to_string(::GetLastError()) + ")");
}

RemoteMemory::~RemoteMemory()
{
    ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteMemory::Write(const void* data, std::size_t size, std::size_t offset)
{
    SIZE_T written = 0;
    if (!::WriteProcessMemory(process_, Address(offset), data, size, &written) || written != size)
        throw Failure("cannot write the program's memory");
}

void RemoteMemory::Read(void* data, std::size_t size, std::size_t offset) const
{
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process_, Address(offset), data, size, &read) || read != size)
        throw Failure("cannot read the program's memory");
}

int ListRowCount(HWND list)
{
    return static_cast<int>(Ask(list, LVM_GETITEMCOUNT));
}

std::wstring ListCellText(HANDLE process, HWND list, int row, int column)
{
    // The record and its text buffer side by side in one block.
    RemoteMemory memory(process, sizeof(LVITEMW) + kTextCapacity * sizeof(wchar_t));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = static_cast<wchar_t*>(memory.Address(sizeof item));
    item.cchTextMax = kTextCapacity;
    memory.Write(&item, sizeof item);
    const wchar_t nothing = L'\0';
    memory.Write(&nothing, sizeof nothing, sizeof item);
    const auto length = static_cast<int>(
        Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address())));
    std::wstring text(kTextCapacity, L'\0');
    memory.Read(text.data(), text.size() * sizeof(wchar_t), sizeof item);
    const std::size_t answered = static_cast<std::size_t>(length < 0 ? 0 : length);
    text.resize(std::min(answered, wcsnlen(text.c_str(), kTextCapacity)));
    return text;
}

RECT ListRowNameRect(HANDLE process, HWND list, int row)
{
    RemoteMemory memory(process, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_LABEL;
    memory.Write(&rect, sizeof rect);
    if (!Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address())))
        throw Failure("the file list gives no rectangle for row " + std::to_string(row));
    memory.Read(&rect, sizeof rect);
    return rect;
}

std::wstring TreeSelectionText(HANDLE process, HWND tree)
{
    const auto selected = reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!selected)
        return {};
    RemoteMemory memory(process, sizeof(TVITEMW) + kTextCapacity * sizeof(wchar_t));
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = selected;
    item.pszText = static_cast<wchar_t*>(memory.Address(sizeof item));
    item.cchTextMax = kTextCapacity;
    memory.Write(&item, sizeof item);
    if (!Ask(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.Address())))
        throw Failure("the folder tree does not give its selected item");
    std::wstring text(kTextCapacity, L'\0');
    memory.Read(text.data(), text.size() * sizeof(wchar_t), sizeof item);
    text.resize(wcsnlen(text.c_str(), kTextCapacity));
    return text;
}

std::vector<std::wstring> ListBoxItems(HWND listBox)
{
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(Ask(listBox, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        const auto length = static_cast<int>(Ask(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i)));
        if (length < 0)
            throw Failure("the list box has no item " + std::to_string(i));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        // The system carries this text across processes itself.
        const auto copied =
            static_cast<int>(Ask(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        items.push_back(text);
    }
    return items;
}

std::wstring WindowsPath(const std::wstring& path)
{
    if (path.empty() || path[0] != L'/')
        return path;
    using ToDos = WCHAR*(CDECL*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos)
        throw Failure("a Linux path outside Wine: " + Utf8(path));
    WCHAR* converted = toDos(Utf8(path).c_str());
    if (!converted)
        throw Failure("Wine cannot name " + Utf8(path) + " as a drive path");
    std::wstring result(converted);
    ::HeapFree(::GetProcessHeap(), 0, converted);
    return result;
}
