#include "base/WideText.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cwchar>

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (needed > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

String Narrow(std::wstring_view utf16)
{
    if (utf16.empty() || utf16.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(utf16.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    String narrow(static_cast<std::size_t>(needed), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

String AnsiToUtf8(std::string_view ansi)
{
    if (ansi.empty() || ansi.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(ansi.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0)
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
    return Narrow(wide);
}

void CopyWholeCharacters(std::string_view text, wchar_t* buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return;
    const std::wstring wide = Widen(text);
    std::size_t count = std::min(wide.size(), static_cast<std::size_t>(capacity - 1));
    if (count < wide.size() && count > 0 && IS_HIGH_SURROGATE(wide[count - 1]))
        --count;
    std::wmemcpy(buffer, wide.data(), count);
    buffer[count] = L'\0';
}
