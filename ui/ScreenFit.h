#pragma once
// Where a window goes on its monitor: inside the work area, which leaves out
// the taskbar, so that every part of it can be seen and reached.
#include "ui/Bounds.h"

#include <functional>

// `window` moved inside `work` as little as it can. A side longer than the
// work area's keeps its length and starts at the work area's left or top,
// where the caption and the window's first controls are.
TBounds KeepInside(const TBounds& window, const TBounds& work);

// `window` cut to the size of `work` where it is larger, then inside it: for
// a window whose controls are aligned and share whatever size it is given.
TBounds CutToFit(const TBounds& window, const TBounds& work);

// The largest pixels per inch from `density` down to `lowest` at which
// `fits` holds; `lowest` when none does.
int FittingPixelsPerInch(int density, int lowest, const std::function<bool(int pixelsPerInch)>& fits);
