#pragma once
// One picture of an image list, copied once and then drawn many times: the
// list's own drawing makes and frees scratch bitmaps on every call, which
// under Wine is most of what painting a page of the tree costs.
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <commctrl.h>

class TRowPicture {
public:
    // Copies picture `index` of `list`; stays empty when there is no such
    // picture or the copy cannot be made.
    void Prepare(HIMAGELIST list, int index);
    void Clear();
    bool Empty() const { return !mask_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Draws the picture with (x, y) as its top left, leaving what lies under
    // its see-through pixels as it was.
    void Draw(HDC target, int x, int y) const;

private:
    // Declared before the memory contexts, which go first.
    platform::Bitmap colourBitmap_;
    platform::Bitmap maskBitmap_;
    platform::MemoryDc colour_;
    platform::MemoryDc mask_;
    int width_ = 0;
    int height_ = 0;
};
