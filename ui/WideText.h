#pragma once
// UTF-8 <-> UTF-16 for the wide-character platform calls.
#include "ui/Text.h"

std::wstring Widen(std::string_view utf8);
String Narrow(std::wstring_view utf16);
