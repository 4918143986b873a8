#pragma once
// Pictures of the program's windows as the screen shows them.
#include <windows.h>

#include <string>

// Saves the screen area of `window`, frame included, as a PNG file.
// Returns the number of distinct colours in it: a picture of one or two
// colours shows no window.
std::size_t SaveWindowPicture(HWND window, const std::wstring& path);
