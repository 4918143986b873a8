#pragma once
// The titles of the visible top-level windows and the running processes.
#include <windows.h>

class TSysInfoTest;

// For EnumWindows, with the window as the context: appends the title of
// each qualifying window to ListBox1. Always goes on to the next window.
BOOL CALLBACK WindowListProc(HWND window, LPARAM context);
// Appends the executable name of every running process to ListBox2.
void FillProcessList(TSysInfoTest& form);
