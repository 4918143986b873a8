#pragma once
// UTF-8 <-> UTF-16 for the wide-character platform calls.
#include "base/Text.h"

std::wstring Widen(std::string_view utf8);
String Narrow(std::wstring_view utf16);
// 8-bit text of the system code page, as the few 8-bit platform records
// hold it, into the framework's UTF-8.
String AnsiToUtf8(std::string_view ansi);
// Copies as much of `text` as fits, with its terminator, into a buffer the
// platform lends for `capacity` UTF-16 units; a pair of units that does not
// fit whole is left out whole.
void CopyWholeCharacters(std::string_view text, wchar_t* buffer, int capacity);
