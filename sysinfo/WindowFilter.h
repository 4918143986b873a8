#pragma once
// Which top-level windows the window list takes, and how their titles are
// kept.
#include "base/Text.h"

#include <cstdint>

// A title is kept to as many characters as this many bytes hold in code
// page 949.
inline constexpr std::size_t kWindowTitleLimit = 255;

// Bytes of the longest prefix of the UTF-8 `text` that takes at most
// `maxBytes` bytes in code page 949, never ending inside a character.
// ASCII counts one byte and every other character two: that is exact for
// every character the code page holds, all of them double-byte. A
// character it cannot hold also counts two, the most any stand-in for it
// can take, so a kept title never holds more than the 8-bit title would.
// A byte that starts no well-formed sequence is a character of its own.
std::size_t Cp949PrefixLength(std::string_view text, std::size_t maxBytes) noexcept;

// The title cut to the limit, counted as above.
String ListedWindowTitle(std::string_view title);

// Visible, with at least one bit of the overlapped-window frame (caption,
// system menu, sizing frame, minimise or maximise box), and not a control
// parent. Tool windows are not told apart.
bool QualifiesForWindowList(std::uint32_t style, std::uint32_t exStyle);
