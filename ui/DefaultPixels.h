#pragma once
// The pixel figures the framework supplies where a layout gives none. They
// are figures at 96 pixels per inch, like the layouts' own: the controls
// start from them, and a layout drawn for another density is given them
// before it is scaled, so that they grow with the written ones.
#include "ui/Layout.h"

constexpr int kDefaultColumnWidth = 50; // list columns and status panels
constexpr int kDefaultTreeIndent = 19;
constexpr int kDefaultSplitterMinSize = 30;
constexpr int kDefaultPictureSize = 16; // image lists, wide and high

// Writes into `object` (not its children) every default pixel figure of its
// class that it does not give itself, ahead of the figures it gives.
void WriteDefaultPixels(LayoutObject& object);
