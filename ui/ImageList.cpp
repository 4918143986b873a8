#include "ui/ImageList.h"

#include "base/Exception.h"
#include "base/WideText.h"
#include "platform/PlatformError.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <string>
#include <utility>

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
// The see-through pixels of a picture that is scaled are taken as the
// window's white, over which resources/art/make_art.py blends the drawn
// edges: magenta would bleed into the edge pixels and show as a pink fringe.
constexpr std::uint32_t kScalingGround = 0xFFFFFF;
constexpr std::uint32_t kMaskPixel = 0xFF00FF; // RGB(255, 0, 255) as a DIB pixel
// No screen has row pictures beyond the icon's largest size.
constexpr std::int64_t kLargestPicture = 256;

struct Drawing {
    int size = 0;
    std::wstring name;
};

// The size of `name` when it is `stem` followed by a number.
std::optional<int> SizeAfterStem(std::wstring_view name, std::wstring_view stem)
{
    if (name.size() <= stem.size() || name.size() > stem.size() + 4)
        return std::nullopt;
    for (std::size_t i = 0; i < stem.size(); ++i)
        if (std::towupper(name[i]) != std::towupper(stem[i]))
            return std::nullopt;
    int size = 0;
    for (wchar_t c : name.substr(stem.size())) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        size = size * 10 + (c - L'0');
    }
    return size;
}

struct DrawingSearch {
    std::wstring stem;
    std::vector<Drawing> found;
};

BOOL CALLBACK NoteDrawing(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    // An enumeration callback: a name that cannot be noted (no memory) is
    // left out, and the picture is scaled from another of its drawings.
    try {
        auto& search = *reinterpret_cast<DrawingSearch*>(param);
        if (IS_INTRESOURCE(name))
            return TRUE;
        if (const auto size = SizeAfterStem(name, search.stem); size && *size > 0)
            search.found.push_back({*size, name});
    } catch (...) {
    }
    return TRUE;
}

// The drawing of a picture for a list of `wanted` pixels: the one of that
// size, else the smallest larger one, scaled down, else the largest.
const Drawing& ChooseDrawing(const std::vector<Drawing>& drawings, int wanted)
{
    const Drawing* smallestLarger = nullptr;
    const Drawing* largest = &drawings.front();
    for (const Drawing& drawing : drawings) {
        if (drawing.size == wanted)
            return drawing;
        if (drawing.size > wanted && (!smallestLarger || drawing.size < smallestLarger->size))
            smallestLarger = &drawing;
        if (drawing.size > largest->size)
            largest = &drawing;
    }
    return smallestLarger ? *smallestLarger : *largest;
}

// The resource to load for `name` in a list of `wanted` pixels: another
// drawing of the same picture where `name` ends in its size.
std::wstring DrawingFor(HMODULE module, const std::wstring& name, int wanted)
{
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= L'0' && name[digits - 1] <= L'9')
        --digits;
    if (digits == name.size() || digits == 0)
        return name;
    DrawingSearch search{name.substr(0, digits), {}};
    ::EnumResourceNamesW(module, RT_BITMAP, NoteDrawing, reinterpret_cast<LONG_PTR>(&search));
    if (search.found.empty())
        return name;
    return ChooseDrawing(search.found, wanted).name;
}

BITMAPINFO TopDownInfo(int width, int height, WORD bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// True when more than half of what lies under target pixel (x, y) is
// see-through. Counted in units of 1 / width by 1 / height of a source
// pixel, so that a pixel exactly half covered (common along a straight
// edge) is decided alike on every machine: it is shown.
bool MostlySeeThrough(const std::vector<bool>& seeThrough, int sourceWidth, int sourceHeight, int width, int height,
                      int x, int y)
{
    const std::int64_t x0 = std::int64_t{x} * sourceWidth;
    const std::int64_t x1 = x0 + sourceWidth;
    const std::int64_t y0 = std::int64_t{y} * sourceHeight;
    const std::int64_t y1 = y0 + sourceHeight;
    std::int64_t covered = 0;
    for (std::int64_t sy = y0 / height; sy < sourceHeight && sy * height < y1; ++sy) {
        const std::int64_t dy = std::min(y1, (sy + 1) * height) - std::max(y0, sy * height);
        for (std::int64_t sx = x0 / width; sx < sourceWidth && sx * width < x1; ++sx)
            if (seeThrough[static_cast<std::size_t>(sy * sourceWidth + sx)])
                covered += dy * (std::min(x1, (sx + 1) * width) - std::max(x0, sx * width));
    }
    return 2 * covered > std::int64_t{sourceWidth} * sourceHeight;
}

// Adds `source` scaled to width x height: the colours with the platform's
// halftone filter, the mask exact, see-through where more than half of what
// lies under a pixel is.
bool AddScaled(HIMAGELIST list, HBITMAP source, int sourceWidth, int sourceHeight, int width, int height)
{
    const platform::ScreenDc screen(::GetDC(nullptr));
    if (!screen)
        return false;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(sourceWidth) * sourceHeight);
    BITMAPINFO sourceInfo = TopDownInfo(sourceWidth, sourceHeight, 32);
    if (::GetDIBits(screen.Get(), source, 0, sourceHeight, pixels.data(), &sourceInfo, DIB_RGB_COLORS) != sourceHeight)
        return false;
    std::vector<bool> seeThrough(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if ((pixels[i] & 0xFFFFFF) == kMaskPixel) {
            seeThrough[i] = true;
            pixels[i] = kScalingGround;
        }

    void* sourceBits = nullptr;
    platform::Bitmap ground(::CreateDIBSection(screen.Get(), &sourceInfo, DIB_RGB_COLORS, &sourceBits, nullptr, 0));
    BITMAPINFO targetInfo = TopDownInfo(width, height, 24);
    void* targetBits = nullptr;
    platform::Bitmap colour(::CreateDIBSection(screen.Get(), &targetInfo, DIB_RGB_COLORS, &targetBits, nullptr, 0));
    platform::MemoryDc from(::CreateCompatibleDC(screen.Get()));
    platform::MemoryDc to(::CreateCompatibleDC(screen.Get()));
    if (!ground || !colour || !from || !to || !sourceBits || !targetBits)
        return false;
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(sourceBits));
    const HGDIOBJ fromBefore = ::SelectObject(from.Get(), ground.Get());
    const HGDIOBJ toBefore = ::SelectObject(to.Get(), colour.Get());
    ::SetStretchBltMode(to.Get(), HALFTONE);
    ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const bool stretched =
        ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY) != FALSE;
    ::SelectObject(to.Get(), toBefore);
    ::SelectObject(from.Get(), fromBefore);
    ::GdiFlush();
    if (!stretched)
        return false;

    // A see-through pixel of the picture is black: the list draws it by
    // ANDing the mask and then ORing the picture.
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t maskStride = (static_cast<std::size_t>(width) + 15) / 16 * 2;
    std::vector<BYTE> maskBits(maskStride * height);
    auto* row = static_cast<BYTE*>(targetBits);
    for (int y = 0; y < height; ++y, row += stride)
        for (int x = 0; x < width; ++x)
            if (MostlySeeThrough(seeThrough, sourceWidth, sourceHeight, width, height, x, y)) {
                maskBits[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                std::fill_n(row + static_cast<std::size_t>(x) * 3, 3, BYTE{0});
            }
    platform::Bitmap mask(::CreateBitmap(width, height, 1, 1, maskBits.data()));
    return mask && ::ImageList_Add(list, colour.Get(), mask.Get()) >= 0;
}

} // namespace

TImageList::~TImageList()
{
    // The views let go of the native list before it is destroyed.
    for (TImageListLink* link : links_) {
        link->list_ = nullptr;
        const auto changed = std::move(link->changed_);
        link->changed_ = nullptr;
        if (changed)
            changed(nullptr);
    }
}

HIMAGELIST TImageList::Handle()
{
    if (!list_)
        list_ = Build(pictures_);
    return list_.Get();
}

int TImageList::Count() const
{
    return list_ ? ::ImageList_GetImageCount(list_.Get()) : 0;
}

TImageList::NativeList TImageList::Build(const std::vector<Picture>& pictures) const
{
    NativeList list(
        ::ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, static_cast<int>(pictures.size()) + 1, 2));
    if (!list)
        throw LastPlatformError("the image list " + Name() + " cannot be created");
    ::ImageList_SetBkColor(list.Get(), bkColor_);
    const HMODULE module = ::GetModuleHandleW(nullptr);
    for (const Picture& picture : pictures) {
        const std::wstring named = Widen(picture.name);
        // The layout names a drawing that must exist, so that a misspelt
        // name fails rather than showing some other picture.
        if (!::FindResourceW(module, named.c_str(), RT_BITMAP))
            throw LayoutError(picture.line,
                              LastPlatformError("the picture " + picture.name + " cannot be loaded").Message());
        const std::wstring drawing = DrawingFor(module, named, std::max(width_, height_));
        platform::Bitmap bitmap(
            static_cast<HBITMAP>(::LoadImageW(module, drawing.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        const DWORD loadError = bitmap ? 0 : ::GetLastError();
        BITMAP shape{};
        bool added = bitmap && ::GetObjectW(bitmap.Get(), sizeof shape, &shape) == sizeof shape;
        if (added && shape.bmWidth == width_ && shape.bmHeight == height_)
            added = ::ImageList_AddMasked(list.Get(), bitmap.Get(), kMaskColour) >= 0;
        else if (added)
            added = AddScaled(list.Get(), bitmap.Get(), shape.bmWidth, shape.bmHeight, width_, height_);
        if (!added)
            throw LayoutError(picture.line,
                              PlatformError("the picture " + picture.name + " cannot be loaded", loadError).Message());
    }
    return list;
}

void TImageList::Replace(NativeList list)
{
    // The old list goes last, once no view holds it.
    NativeList old = std::exchange(list_, std::move(list));
    for (std::size_t i = 0; i < links_.size(); ++i)
        if (links_[i]->changed_)
            links_[i]->changed_(list_.Get());
}

bool TImageList::SetLayoutProperty(const LayoutProperty& property)
{
    const String& name = property.name;
    if (name == "Width" || name == "Height") {
        const std::int64_t pixels = LayoutInteger(property);
        if (pixels < 1 || pixels > kLargestPicture)
            throw LayoutError(property.line, name + " must be between 1 and " + std::to_string(kLargestPicture));
        int& side = name == "Width" ? width_ : height_;
        const int before = side;
        side = static_cast<int>(pixels);
        if (list_ && side != before) {
            try {
                Replace(Build(pictures_));
            } catch (...) {
                side = before;
                throw;
            }
        }
    } else if (name == "BkColor") {
        bkColor_ = static_cast<COLORREF>(LayoutInteger(property));
        if (list_)
            ::ImageList_SetBkColor(list_.Get(), bkColor_);
    } else if (name == "BlendColor") {
        // Selected pictures are blended with the system's colour.
        LayoutIdentifier(property);
    } else if (name == "ShareImages") {
        // The views never own the list: it goes with this component.
        LayoutBoolean(property);
    } else if (name == "Pictures") {
        if (property.value.kind != LayoutValue::Kind::Collection)
            throw LayoutError(property.line, "Pictures needs items");
        std::vector<Picture> pictures;
        for (const auto& item : property.value.collection)
            for (const LayoutProperty& field : item) {
                if (field.name != "Bitmap")
                    throw LayoutError(field.line, "unknown picture property " + field.name);
                pictures.push_back({LayoutText(field), field.line});
            }
        Replace(Build(pictures));
        pictures_ = std::move(pictures);
    } else {
        return false;
    }
    return true;
}

void TImageListLink::Reset(TImageList* list, std::function<void(HIMAGELIST)> changed)
{
    if (list_) {
        auto& links = list_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    list_ = nullptr;
    changed_ = nullptr;
    if (!list)
        return;
    const HIMAGELIST handle = list->Handle();
    list->links_.push_back(this);
    list_ = list;
    changed_ = std::move(changed);
    if (changed_)
        changed_(handle);
}
