#include "ui/ImageList.h"

#include "base/Exception.h"
#include "base/WideText.h"
#include "platform/PlatformError.h"
#include "platform/UniqueHandle.h"

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);

} // namespace

TImageList::~TImageList()
{
    if (list_)
        ::ImageList_Destroy(list_);
}

HIMAGELIST TImageList::Handle()
{
    if (!list_) {
        list_ = ::ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 2, 2);
        if (!list_)
            throw LastPlatformError("the image list " + Name() + " cannot be created");
        ::ImageList_SetBkColor(list_, bkColor_);
    }
    return list_;
}

int TImageList::Count() const
{
    return list_ ? ::ImageList_GetImageCount(list_) : 0;
}

void TImageList::AddBitmap(const String& resourceName, int line)
{
    platform::Bitmap bitmap(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), Widen(resourceName).c_str(),
                                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const DWORD loadError = bitmap ? 0 : ::GetLastError();
    if (!bitmap || ::ImageList_AddMasked(Handle(), bitmap.Get(), kMaskColour) < 0)
        throw LayoutError(line,
                          PlatformError("the picture " + resourceName + " cannot be loaded", loadError).Message());
}

bool TImageList::SetLayoutProperty(const LayoutProperty& property)
{
    const String& name = property.name;
    if (name == "Width" || name == "Height") {
        if (list_)
            throw LayoutError(property.line, name + " must come before the pictures");
        (name == "Width" ? width_ : height_) = static_cast<int>(LayoutInteger(property));
    } else if (name == "BkColor") {
        bkColor_ = static_cast<COLORREF>(LayoutInteger(property));
        if (list_)
            ::ImageList_SetBkColor(list_, bkColor_);
    } else if (name == "BlendColor") {
        // Selected pictures are blended with the system's colour.
        LayoutIdentifier(property);
    } else if (name == "ShareImages") {
        // The views never own the list: it goes with this component.
        LayoutBoolean(property);
    } else if (name == "Pictures") {
        if (property.value.kind != LayoutValue::Kind::Collection)
            throw LayoutError(property.line, "Pictures needs items");
        for (const auto& item : property.value.collection)
            for (const LayoutProperty& field : item) {
                if (field.name != "Bitmap")
                    throw LayoutError(field.line, "unknown picture property " + field.name);
                AddBitmap(LayoutText(field), field.line);
            }
    } else {
        return false;
    }
    return true;
}
