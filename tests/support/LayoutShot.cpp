#include "tests/support/LayoutShot.h"

#include "platform/UniqueHandle.h"
#include "ui/ComCtrls.h"
#include "ui/StdCtrls.h"

#include <commctrl.h>

namespace {

std::string IconSize(HICON icon)
{
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return "none";
    const platform::Bitmap mask(info.hbmMask);
    const platform::Bitmap colour(info.hbmColor);
    BITMAP shape{};
    ::GetObjectW(mask.Get(), sizeof shape, &shape);
    // A monochrome icon keeps both its masks in one bitmap twice as tall.
    const int height = colour ? shape.bmHeight : shape.bmHeight / 2;
    return std::to_string(shape.bmWidth) + "x" + std::to_string(height);
}

std::string PictureSize(HIMAGELIST list)
{
    int width = 0;
    int height = 0;
    if (!list || !::ImageList_GetIconSize(list, &width, &height))
        return " pictures none";
    return " pictures " + std::to_string(width) + "x" + std::to_string(height);
}

} // namespace

long FontHeight(HWND window)
{
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    return handle && ::GetObjectW(handle, sizeof font, &font) ? font.lfHeight : 0;
}

RECT RectIn(HWND window, HWND form)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Rect(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

std::vector<std::string> Shot(TForm& form)
{
    std::vector<std::string> lines;
    RECT outer{};
    RECT client{};
    ::GetWindowRect(form.Handle(), &outer);
    ::GetClientRect(form.Handle(), &client);
    lines.push_back("form: outer " + std::to_string(outer.right - outer.left) + "x" +
                    std::to_string(outer.bottom - outer.top) + " client " + Rect(client) + " icons " +
                    IconSize(reinterpret_cast<HICON>(::SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0))) + " " +
                    IconSize(reinterpret_cast<HICON>(::SendMessageW(form.Handle(), WM_GETICON, ICON_SMALL, 0))));
    for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form.Component(i));
        if (!control || !control->Handle())
            continue;
        HWND window = control->Handle();
        std::string line = control->Name() + ": " + Rect(RectIn(window, form.Handle())) + " font " +
                           std::to_string(FontHeight(window));
        if (dynamic_cast<TListView*>(control)) {
            const int columns = Header_GetItemCount(ListView_GetHeader(window));
            for (int column = 0; column < columns; ++column)
                line += " column " + std::to_string(ListView_GetColumnWidth(window, column));
            line += PictureSize(ListView_GetImageList(window, LVSIL_SMALL));
        }
        if (dynamic_cast<TTreeView*>(control))
            line += " indent " + std::to_string(TreeView_GetIndent(window)) + " item " +
                    std::to_string(TreeView_GetItemHeight(window)) +
                    PictureSize(TreeView_GetImageList(window, TVSIL_NORMAL));
        if (dynamic_cast<TStatusBar*>(control)) {
            int edges[4] = {};
            const auto parts =
                static_cast<int>(::SendMessageW(window, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
            for (int part = 0; part < parts && part < 4; ++part)
                line += " edge " + std::to_string(edges[part]);
        }
        if (dynamic_cast<TListBox*>(control))
            line += " item " + std::to_string(::SendMessageW(window, LB_GETITEMHEIGHT, 0, 0));
        lines.push_back(line);
    }
    return lines;
}

void SendDensityChange(TForm& form, int from, int to)
{
    RECT rect{};
    ::GetWindowRect(form.Handle(), &rect);
    RECT suggested{rect.left, rect.top, rect.left + ::MulDiv(rect.right - rect.left, to, from),
                   rect.top + ::MulDiv(rect.bottom - rect.top, to, from)};
    ::SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

std::string OutsideWorkArea(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    if (rect.left >= work.left && rect.top >= work.top && rect.right <= work.right && rect.bottom <= work.bottom)
        return {};
    return "window " + Rect(rect) + " in work area " + Rect(work);
}
