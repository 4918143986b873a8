#pragma once
#include "ui/Layout.h"

// Layouts are drawn at 96 pixels per inch: their sizes and positions, font
// heights included, are scaled to the screen's pixels per inch.
void ScaleLayout(LayoutObject& layout, int pixelsPerInch);
