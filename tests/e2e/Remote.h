#pragma once
// Reading and working another process's windows with what any program may
// use: window texts and classes, standard control messages, and memory lent
// in the other process for the controls that answer through pointers.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

// A step of the run that did not go as a user would expect; the text says
// what was seen.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

std::string Utf8(const std::wstring& text);
// Line feeds and other control characters shown as escapes, for the log.
std::string Printable(const std::wstring& text);

// Under Wine the build hands over Linux paths; Windows programs need them
// as drive paths.
std::wstring WindowsPath(const std::wstring& path);
// The program's arguments after its own name, each as a Windows path; fails with
// the usage text unless there are exactly `count` of them.
std::vector<std::wstring> PathArguments(size_t count, const char* usage);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// Visible top-level windows of one process, in Z order.
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);
// Every descendant of `parent`.
std::vector<HWND> Descendants(HWND parent);
// The only descendant of that class (and text, unless null); fails otherwise.
HWND OnlyChild(HWND parent, const wchar_t* className, const wchar_t* text = nullptr);
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className);

// What a user could not see or reach of a top-level window: the window
// must lie inside the work area of its monitor (the screen less the
// taskbar), and every visible control inside the part of the client area
// that lies there. One line per fault, naming `name`.
std::vector<std::string> PlacementFaults(HWND window, const std::string& name);

// A block of the other process's memory, released once.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    void Write(const void* data, std::size_t size, std::size_t offset = 0);
    void Read(void* data, std::size_t size, std::size_t offset = 0) const;

private:
    HANDLE process_;
    void* address_;
};

// A message sent to a control of the other process, which must answer
// within a bound; a hung program fails the run rather than blocking it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

int ListRowCount(HWND list);
std::wstring ListCellText(HANDLE process, HWND list, int row, int column);
// The rectangle of a row's name (its first column), client coordinates.
RECT ListRowNameRect(HANDLE process, HWND list, int row);
// Text of the tree view's selected item; empty when none is selected.
std::wstring TreeSelectionText(HANDLE process, HWND tree);
std::vector<std::wstring> ListBoxItems(HWND listBox);
