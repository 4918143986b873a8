#pragma once
// Whether an edit shows the whole of its text, measured in the font it
// draws with.
#include "base/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

inline SIZE TextExtentIn(HWND control, const std::wstring& text)
{
    SIZE extent{};
    HDC dc = ::GetDC(control);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return extent;
}

// Its first character at the left of the area the edit draws text in,
// nothing scrolled out, and its last character ending inside that area.
inline ::testing::AssertionResult ShowsWholeText(HWND edit)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    if (text.empty())
        return ::testing::AssertionSuccess();
    RECT shown{};
    ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    auto left = [&](std::size_t index) {
        return static_cast<short>(LOWORD(::SendMessageW(edit, EM_POSFROMCHAR, index, 0)));
    };
    const int first = left(0);
    const int end = left(text.size() - 1) + TextExtentIn(edit, text.substr(text.size() - 1)).cx;
    const int width = TextExtentIn(edit, text).cx;
    if (first >= shown.left && end <= shown.right && width <= shown.right - shown.left)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << Narrow(text) << "\" is " << width << " pixels, drawn from " << first
                                         << " to " << end << " in " << shown.left << ".." << shown.right;
}
