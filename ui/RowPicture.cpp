#include "ui/RowPicture.h"

#include <utility>

namespace {

constexpr COLORREF kSeeThrough = RGB(255, 0, 255);

} // namespace

void TRowPicture::Clear()
{
    mask_.Reset();
    colour_.Reset();
    maskBitmap_.Reset();
    colourBitmap_.Reset();
    width_ = height_ = 0;
}

void TRowPicture::Prepare(HIMAGELIST list, int index)
{
    Clear();
    int width = 0;
    int height = 0;
    if (!list || index < 0 || index >= ::ImageList_GetImageCount(list) ||
        !::ImageList_GetIconSize(list, &width, &height))
        return;
    const platform::ScreenDc screen(::GetDC(nullptr));
    if (!screen.Get())
        return;
    platform::Bitmap colourBitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    platform::Bitmap maskBitmap(::CreateBitmap(width, height, 1, 1, nullptr));
    platform::MemoryDc colour(::CreateCompatibleDC(screen.Get()));
    platform::MemoryDc mask(::CreateCompatibleDC(screen.Get()));
    if (!colourBitmap || !maskBitmap || !colour || !mask)
        return;
    ::SelectObject(colour.Get(), colourBitmap.Get());
    ::SelectObject(mask.Get(), maskBitmap.Get());
    // The list's pictures are see-through where their bitmaps were magenta,
    // so no pixel they show is magenta: drawn over magenta, those pixels
    // make the mask (white where see-through). Then the picture over black:
    // ANDing the mask and ORing the picture puts it over anything.
    ::SelectObject(colour.Get(), ::GetStockObject(DC_BRUSH));
    ::SetDCBrushColor(colour.Get(), kSeeThrough);
    ::PatBlt(colour.Get(), 0, 0, width, height, PATCOPY);
    if (!::ImageList_DrawEx(list, index, colour.Get(), 0, 0, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT))
        return;
    ::SetBkColor(colour.Get(), kSeeThrough);
    ::BitBlt(mask.Get(), 0, 0, width, height, colour.Get(), 0, 0, SRCCOPY);
    ::PatBlt(colour.Get(), 0, 0, width, height, BLACKNESS);
    if (!::ImageList_DrawEx(list, index, colour.Get(), 0, 0, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT))
        return;
    colourBitmap_ = std::move(colourBitmap);
    maskBitmap_ = std::move(maskBitmap);
    colour_ = std::move(colour);
    mask_ = std::move(mask);
    width_ = width;
    height_ = height;
}

void TRowPicture::Draw(HDC target, int x, int y) const
{
    if (Empty())
        return;
    // A one-bit source takes the target's text and background colours.
    const COLORREF text = ::SetTextColor(target, RGB(0, 0, 0));
    const COLORREF back = ::SetBkColor(target, RGB(255, 255, 255));
    ::BitBlt(target, x, y, width_, height_, mask_.Get(), 0, 0, SRCAND);
    ::BitBlt(target, x, y, width_, height_, colour_.Get(), 0, 0, SRCPAINT);
    ::SetBkColor(target, back);
    ::SetTextColor(target, text);
}
