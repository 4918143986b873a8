#pragma once
// Screen density, per monitor where the platform knows it (Windows 8.1 and
// later); the newer entry points are looked up at run time.
#include <windows.h>

namespace platform {

// Pixels per inch of the system's setting: what every monitor has where
// the platform knows no density of its own for each.
int SystemPixelsPerInch();

// Pixels per inch of `monitor` for a program aware of each monitor's
// density; the system's where the platform cannot tell.
int MonitorPixelsPerInch(HMONITOR monitor);

// The outer rectangle of a window with `style` whose client area is
// `client`, with the frame drawn at `pixelsPerInch` where the platform can
// size a frame for a density, else at the system's.
RECT OuterRect(const RECT& client, DWORD style, DWORD exStyle, int pixelsPerInch);

} // namespace platform
