#pragma once
// A list of same-sized pictures with masks, shared by the views that name
// it; the pictures are bitmap resources whose magenta pixels are see-through.
#include "ui/Component.h"

#include <windows.h>

#include <commctrl.h>

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}
    ~TImageList() override;

    HIMAGELIST Handle();
    int Count() const;
    COLORREF BkColor() const { return bkColor_; }

    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    void AddBitmap(const String& resourceName, int line);

    HIMAGELIST list_ = nullptr;
    int width_ = 16;
    int height_ = 16;
    COLORREF bkColor_ = CLR_NONE;
};
