#include "ui/StdCtrls.h"

#include "base/Exception.h"
#include "base/WideText.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The extent of `text` in `font` on `window`'s device context; false, and
// nothing measured, when the context cannot be had.
bool MeasureText(HWND window, HFONT font, const String& text, SIZE& extent)
{
    // Converted first: nothing may throw while the context is lent.
    const std::wstring wide = Widen(text);
    HDC dc = ::GetDC(window);
    if (!dc)
        return false;
    const HGDIOBJ previous = ::SelectObject(dc, font);
    const bool measured = ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    return measured;
}

// Accepted so that layouts may name an input method; the platform chooses it.
bool IsInputMethodProperty(const LayoutProperty& property)
{
    if (property.name != "ImeName")
        return false;
    LayoutText(property);
    return true;
}

[[noreturn]] void UnknownValue(const LayoutProperty& property)
{
    throw LayoutError(property.line, "unknown value " + property.value.text + " of " + property.name);
}

} // namespace

bool TLabel::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "Alignment") {
        const String& value = LayoutIdentifier(property);
        if (value == "taLeftJustify")
            alignment_ = SS_LEFT;
        else if (value == "taCenter")
            alignment_ = SS_CENTER;
        else if (value == "taRightJustify")
            alignment_ = SS_RIGHT;
        else
            UnknownValue(property);
        return true;
    }
    if (property.name == "Layout") {
        const String& value = LayoutIdentifier(property);
        if (value != "tlTop" && value != "tlCenter")
            UnknownValue(property);
        centreVertically_ = value == "tlCenter";
        return true;
    }
    if (property.name == "EllipsisPosition") {
        // A path too long for the label loses its middle, not its end.
        const String& value = LayoutIdentifier(property);
        if (value != "epPathEllipsis" && value != "epNone")
            UnknownValue(property);
        pathEllipsis_ = value == "epPathEllipsis";
        return true;
    }
    if (property.name == "AutoSize") {
        autoSize_ = LayoutBoolean(property);
        return true;
    }
    return TControl::SetLayoutProperty(property);
}

TControl::CreateParams TLabel::CreationParams() const
{
    return {WC_STATICW, alignment_ | (centreVertically_ ? SS_CENTERIMAGE : 0u) | (pathEllipsis_ ? SS_PATHELLIPSIS : 0u),
            0, false, nullptr};
}

void TLabel::HandleCreated()
{
    GrowToCaption();
}

void TLabel::PixelsChanged(int, int)
{
    GrowToCaption();
}

void TLabel::GrowToCaption()
{
    if (!autoSize_)
        return;
    SIZE extent{};
    const bool measured = MeasureText(Handle(), FontHandle(), InitialText(), extent);
    TBounds bounds = Bounds();
    if (measured && (extent.cx > bounds.width || extent.cy > bounds.height)) {
        bounds.width = std::max(bounds.width, static_cast<int>(extent.cx));
        bounds.height = std::max(bounds.height, static_cast<int>(extent.cy));
        SetBounds(bounds);
    }
}

bool TEdit::SetLayoutProperty(const LayoutProperty& property)
{
    return IsInputMethodProperty(property) || TControl::SetLayoutProperty(property);
}

TControl::CreateParams TEdit::CreationParams() const
{
    return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, nullptr};
}

void TEdit::HandleCreated()
{
    // No length limit: whatever the user types or pastes is kept whole.
    ::SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

void TEdit::PixelsChanged(int, int)
{
    // Grown once to its text: it grows again in its new font.
    if (grownToText_)
        GrowToText();
}

void TEdit::GrowToText()
{
    if (!Handle())
        return;
    grownToText_ = true;
    RECT shown{};
    ::SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    // The font the edit really draws with.
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    SIZE extent{};
    const bool measured = MeasureText(Handle(), font, Text(), extent);
    // One pixel more for the caret behind the last character.
    const int missing = measured ? extent.cx + 1 - (shown.right - shown.left) : 0;
    if (missing <= 0)
        return;
    TBounds bounds = Bounds();
    bounds.width += missing;
    SetBounds(bounds);
}

void TButton::Click()
{
    if (onClick_)
        onClick_(this);
}

bool TButton::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "Default")
        default_ = LayoutBoolean(property);
    else if (property.name == "Cancel")
        cancel_ = LayoutBoolean(property);
    else
        return TControl::SetLayoutProperty(property);
    return true;
}

bool TButton::Enabled() const
{
    return Handle() && ::IsWindowEnabled(Handle());
}

void TButton::SetEnabled(bool enabled)
{
    ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool TButton::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnClick")
        return false;
    onClick_ = std::move(handler);
    return true;
}

TControl::CreateParams TButton::CreationParams() const
{
    const DWORD kind = default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return {WC_BUTTONW, WS_TABSTOP | kind, 0, false, nullptr};
}

void TButton::HandleCommand(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

void TListBoxItems::Add(const String& item)
{
    ::SendMessageW(owner_.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TListBoxItems::Clear()
{
    ::SendMessageW(owner_.Handle(), LB_RESETCONTENT, 0, 0);
}

int TListBoxItems::Count() const
{
    const LRESULT count = ::SendMessageW(owner_.Handle(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

String TListBoxItems::operator[](int index) const
{
    const LRESULT length = ::SendMessageW(owner_.Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        throw Exception("list index out of bounds (" + std::to_string(index) + ")");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(owner_.Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return Narrow(text);
}

int TListBox::ItemIndex() const
{
    const LRESULT index = ::SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TListBox::SetItemIndex(int index)
{
    ::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TListBox::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "ItemHeight") {
        itemHeight_ = static_cast<int>(LayoutInteger(property));
        return true;
    }
    return IsInputMethodProperty(property) || TControl::SetLayoutProperty(property);
}

bool TListBox::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnClick")
        return false;
    onClick_ = std::move(handler);
    return true;
}

TControl::CreateParams TListBox::CreationParams() const
{
    return {WC_LISTBOXW, WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, false, nullptr};
}

void TListBox::HandleCreated()
{
    if (itemHeight_ > 0)
        ::SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TListBox::PixelsChanged(int, int)
{
    // A new font makes the control measure its items again.
    HandleCreated();
}

void TListBox::HandleCommand(WORD code)
{
    // A click that changes the selection, by mouse or keyboard.
    if (code == LBN_SELCHANGE && onClick_)
        onClick_(this);
}

void TMemoLines::Add(const String& line)
{
    HWND edit = owner_.Handle();
    const int length = ::GetWindowTextLengthW(edit);
    const std::wstring text = (length > 0 ? L"\r\n" : L"") + Widen(line);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMemoLines::Clear()
{
    owner_.SetText("");
}

int TMemoLines::Count() const
{
    // The lines as added, not as the control wraps them on screen: a line
    // wider than the memo is still one line.
    const String text = owner_.Text();
    if (text.empty())
        return 0;
    int count = 1;
    for (std::size_t at = text.find("\r\n"); at != String::npos; at = text.find("\r\n", at + 2))
        ++count;
    return count;
}

String TMemoLines::operator[](int index) const
{
    const String text = owner_.Text();
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find("\r\n", start);
        if (start == String::npos)
            throw Exception("list index out of bounds (" + std::to_string(index) + ")");
        start += 2;
    }
    const std::size_t end = text.find("\r\n", start);
    return text.substr(start, end == String::npos ? String::npos : end - start);
}

bool TMemo::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "Lines") {
        // Lines = <item Text = '...' end ...>
        if (property.value.kind != LayoutValue::Kind::Collection)
            throw LayoutError(property.line, "Lines needs items");
        String text;
        for (const auto& item : property.value.collection)
            for (const LayoutProperty& field : item) {
                if (field.name != "Text")
                    throw LayoutError(field.line, "unknown line property " + field.name);
                text += (text.empty() ? "" : "\r\n") + LayoutText(field);
            }
        SetText(text);
        return true;
    }
    return IsInputMethodProperty(property) || TControl::SetLayoutProperty(property);
}

TControl::CreateParams TMemo::CreationParams() const
{
    return {WC_EDITW, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE, false,
            nullptr};
}

void TMemo::HandleCreated()
{
    ::SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}
