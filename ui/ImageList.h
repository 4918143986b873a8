#pragma once
// A list of same-sized pictures with masks, shared by the views that name
// it; the pictures are bitmap resources whose magenta pixels are see-through.
// A picture is named by one of its drawings ('FOLDER16'): the list shows the
// drawing of its own size, so that it follows the screen's density.
#include "platform/UniqueHandle.h"
#include "ui/Component.h"
#include "ui/DefaultPixels.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

class TImageListLink;

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}
    ~TImageList() override;

    HIMAGELIST Handle();
    int Count() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF BkColor() const { return bkColor_; }

    // Width and Height may come again once the pictures are there (as when
    // the screen's density changes): the pictures are then drawn anew at
    // that size. Pictures replaces the pictures. Either builds a new native
    // list; the views hear of it before the old one is destroyed.
    bool SetLayoutProperty(const LayoutProperty& property) override;

private:
    friend class TImageListLink;
    struct Picture {
        String name;
        int line = 0;
    };
    using NativeList = platform::UniqueHandle<ImageListTraits>;

    NativeList Build(const std::vector<Picture>& pictures) const;
    void Replace(NativeList list);

    NativeList list_;
    std::vector<Picture> pictures_;
    std::vector<TImageListLink*> links_;
    int width_ = kDefaultPictureSize;
    int height_ = kDefaultPictureSize;
    COLORREF bkColor_ = CLR_NONE;
};

// A view's hold on an image list. `changed` is called with the list's
// handle when the link is made, with every new handle the list builds
// (before the old one is destroyed), and with null when the list goes
// first; the link lets go of the list when the view goes first. `changed`
// must not throw.
class TImageListLink {
public:
    TImageListLink() = default;
    ~TImageListLink() { Reset(); }
    TImageListLink(const TImageListLink&) = delete;
    TImageListLink& operator=(const TImageListLink&) = delete;

    void Reset(TImageList* list = nullptr, std::function<void(HIMAGELIST)> changed = {});
    TImageList* Get() const { return list_; }
    TImageList* operator->() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }

private:
    friend class TImageList;
    TImageList* list_ = nullptr;
    std::function<void(HIMAGELIST)> changed_;
};
