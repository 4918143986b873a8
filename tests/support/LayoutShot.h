#pragma once
// What a density sets on a form, read back from its native windows, and the
// density change the platform sends when a window moves to another monitor.
#include "ui/Form.h"

#include <windows.h>

#include <string>
#include <vector>

// The rectangle of `window` in the client area of `form`.
RECT RectIn(HWND window, HWND form);
std::string Rect(const RECT& rect);
// The height of the font `window` draws with; 0 when it has none of its own.
long FontHeight(HWND window);

// One line per window: the form's outer and client size and font, each
// control's place, font and what its kind draws with (columns, indent, item
// heights, status panels, picture sizes).
std::vector<std::string> Shot(TForm& form);

// WM_DPICHANGED as the platform sends it: the new density, and the window's
// own rectangle scaled to it about its top left corner.
void SendDensityChange(TForm& form, int from, int to);

// Empty when the window lies inside its monitor's work area, else both.
std::string OutsideWorkArea(HWND window);
