#pragma once
// Which top-level windows the window list takes, and how their titles are
// kept.
#include "base/Text.h"

#include <cstdint>

// A title is kept to this many bytes at most.
inline constexpr std::size_t kWindowTitleLimit = 255;

// The title cut to the limit at a character boundary, never inside one.
String ListedWindowTitle(std::string_view title);

// Visible, with at least one bit of the overlapped-window frame (caption,
// system menu, sizing frame, minimise or maximise box), and not a control
// parent. Tool windows are not told apart.
bool QualifiesForWindowList(std::uint32_t style, std::uint32_t exStyle);
