#pragma once
#include "ui/Layout.h"

#include <cstdint>

// Layouts are drawn at 96 pixels per inch: their sizes and positions, font
// heights included, are scaled to the screen's pixels per inch. The figures
// a layout leaves to the framework are written in first, at every density.
void ScaleLayout(LayoutObject& layout, int pixelsPerInch);

// True for the properties that hold pixels: those that ScaleLayout scales.
bool IsPixelProperty(const String& name);

// One figure of 96 pixels per inch at `pixelsPerInch`, as ScaleLayout scales it.
std::int64_t ScalePixels(std::int64_t value, int pixelsPerInch);

// The fewest pixels per inch at which every text of the layout is still as
// large as 8 point at `density` (or as the layout draws it there, where that
// is smaller): how far a layout may be scaled down to fit a screen.
int LowestReadablePixelsPerInch(const LayoutObject& layout, int density);

// True when some control of the layout is aligned to its parent's side or
// fills it: such a layout takes any size it is given.
bool HasAlignedControls(const LayoutObject& layout);
