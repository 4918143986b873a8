#include "ui/ListView.h"

#include "base/Exception.h"
#include "base/WideText.h"
#include "ui/ImageList.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

[[noreturn]] void BadValue(const LayoutProperty& property)
{
    throw LayoutError(property.line, "unknown value " + property.value.text + " of " + property.name);
}

int ColumnFormat(const LayoutProperty& property)
{
    const String& value = LayoutIdentifier(property);
    if (value == "taLeftJustify")
        return LVCFMT_LEFT;
    if (value == "taRightJustify")
        return LVCFMT_RIGHT;
    if (value == "taCenter")
        return LVCFMT_CENTER;
    BadValue(property);
}

} // namespace

TListItem* TListItems::Add()
{
    rows_.emplace_back();
    if (!updating_)
        owner_.SyncRowCount();
    return &rows_.back();
}

void TListItems::Clear()
{
    rows_.clear();
    if (owner_.Handle())
        ::SendMessageW(owner_.Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void TListItems::BeginUpdate()
{
    if (updating_++ == 0 && owner_.Handle())
        ::SendMessageW(owner_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (updating_ == 0 || --updating_ > 0)
        return;
    owner_.SyncRowCount();
    if (owner_.Handle()) {
        ::SendMessageW(owner_.Handle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(owner_.Handle(), nullptr, TRUE);
    }
}

void TListView::SyncRowCount()
{
    if (Handle())
        ::SendMessageW(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(Items.Count()), LVSICF_NOSCROLL);
}

TControl::CreateParams TListView::CreationParams() const
{
    DWORD style = WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_ALIGNLEFT | LVS_AUTOARRANGE;
    if (!readOnly_)
        style |= LVS_EDITLABELS;
    return {WC_LISTVIEWW, style, WS_EX_CLIENTEDGE, false, nullptr};
}

void TListView::HandleCreated()
{
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        std::wstring caption = Widen(columns_[i].Caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = columns_[i].Format;
        column.cx = columns_[i].Width;
        column.pszText = caption.data();
        column.iSubItem = static_cast<int>(i);
        ::SendMessageW(Handle(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SyncRowCount();
}

void TListView::PixelsChanged(int from, int to)
{
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const int user = i < userWidths_.size() ? userWidths_[i] : -1;
        const int width = user >= 0 ? ::MulDiv(user, to, from) : columns_[i].Width;
        ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
    }
}

TListItem* TListView::Selected()
{
    const int index = SelectedIndex();
    return index >= 0 && index < Items.Count() ? &Items[index] : nullptr;
}

int TListView::SelectedIndex() const
{
    if (!Handle())
        return -1;
    return static_cast<int>(::SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetSelectedIndex(int index)
{
    if (!Handle())
        return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (index < 0)
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

void TListView::DblClick()
{
    if (onDblClick_)
        onDblClick_(this);
}

int TListView::FindRow(const wchar_t* prefix, int start) const
{
    const std::size_t length = std::wcslen(prefix);
    const int count = Items.Count();
    for (int n = 0; n < count; ++n) {
        const int row = (start + n) % count;
        const std::wstring caption = Widen(Items[row].Caption);
        if (caption.size() >= length &&
            ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(), static_cast<int>(length), prefix,
                             static_cast<int>(length)) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

std::optional<LRESULT> TListView::HandleNotify(NMHDR& header)
{
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if (info.item.iItem < 0 || info.item.iItem >= Items.Count())
            return 0;
        const TListItem& row = Items[info.item.iItem];
        if (info.item.mask & LVIF_TEXT) {
            const int sub = info.item.iSubItem;
            static const String kEmpty;
            const String& text = sub == 0                                          ? row.Caption
                                 : sub - 1 < static_cast<int>(row.SubItems.size()) ? row.SubItems[sub - 1]
                                                                                   : kEmpty;
            CopyWholeCharacters(text, info.item.pszText, info.item.cchTextMax);
        }
        if (info.item.mask & LVIF_IMAGE)
            info.item.iImage = row.ImageIndex;
        return 0;
    }
    case LVN_ODFINDITEMW: {
        auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || Items.Count() == 0)
            return -1;
        return FindRow(find.lvfi.psz, std::clamp(find.iStart, 0, Items.Count() - 1));
    }
    case LVN_ENDLABELEDITW: {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
        if (!info.item.pszText || info.item.iItem < 0 || info.item.iItem >= Items.Count())
            return FALSE;
        Items[info.item.iItem].Caption = Narrow(info.item.pszText);
        return TRUE;
    }
    case NM_DBLCLK:
        DblClick();
        return 0;
    default:
        return std::nullopt;
    }
}

bool TListView::SetLayoutProperty(const LayoutProperty& property)
{
    const String& name = property.name;
    if (name == "ViewStyle") {
        if (LayoutIdentifier(property) != "vsReport")
            BadValue(property);
    } else if (name == "SortType") {
        // Rows carry no data and keep the order in which they are added.
        if (LayoutIdentifier(property) != "stData" && property.value.text != "stNone")
            BadValue(property);
    } else if (name == "IconOptions.Arrangement") {
        if (LayoutIdentifier(property) != "iaLeft")
            BadValue(property);
    } else if (name == "IconOptions.AutoArrange") {
        LayoutBoolean(property);
    } else if (name == "ReadOnly") {
        readOnly_ = LayoutBoolean(property);
    } else if (name == "Columns") {
        if (property.value.kind != LayoutValue::Kind::Collection)
            BadValue(property);
        // Applied again at another density: the columns exist and take the
        // new figures; a width of the user's own is noted, to be scaled.
        const bool reapplied = Handle() != nullptr;
        userWidths_.clear();
        if (reapplied)
            for (std::size_t i = 0; i < columns_.size(); ++i) {
                const auto shown = static_cast<int>(::SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, i, 0));
                userWidths_.push_back(shown != columns_[i].Width ? shown : -1);
            }
        std::vector<TListColumn> previous = std::move(columns_);
        columns_.clear();
        for (const auto& item : property.value.collection) {
            TListColumn column;
            for (const LayoutProperty& field : item) {
                if (field.name == "Caption")
                    column.Caption = LayoutText(field);
                else if (field.name == "Width")
                    column.Width = static_cast<int>(LayoutInteger(field));
                else if (field.name == "Alignment")
                    column.Format = ColumnFormat(field);
                else
                    throw LayoutError(field.line, "unknown column property " + field.name);
            }
            columns_.push_back(column);
        }
        if (reapplied && columns_.size() != previous.size())
            throw LayoutError(property.line, "the columns of " + Name() + " cannot change once they exist");
    } else {
        return TControl::SetLayoutProperty(property);
    }
    return true;
}

bool TListView::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnDblClick")
        return false;
    onDblClick_ = std::move(handler);
    return true;
}

bool TListView::SetLayoutReference(const String& property, TComponent* target)
{
    auto* images = dynamic_cast<TImageList*>(target);
    if (!images)
        return false;
    const bool smallIcons = property == "SmallImages";
    if (!smallIcons && property != "LargeImages")
        return false;
    // Each list the component builds (at a new density) replaces the control's.
    (smallIcons ? smallImages_ : largeImages_).Reset(images, [this, smallIcons](HIMAGELIST list) {
        if (Handle())
            ::SendMessageW(Handle(), LVM_SETIMAGELIST, smallIcons ? LVSIL_SMALL : LVSIL_NORMAL,
                           reinterpret_cast<LPARAM>(list));
    });
    return true;
}
