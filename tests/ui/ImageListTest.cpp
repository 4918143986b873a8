// The row pictures at each density: the list takes the drawing of its own
// size from the program's resources, scales the next larger one down where
// there is none, and hands each new native list to the views that show it.
#include "ui/ImageList.h"

#include "platform/UniqueHandle.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/DefaultPixels.h"
#include "ui/Form.h"
#include "ui/LayoutScale.h"

#include <windows.h>

#include <commctrl.h>
#include <unknwn.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb; // 0xRRGGBB, rows top down
    bool operator==(const Pixels&) const = default;
};

// Rows of hex colours, so that a failure shows where two pictures part.
void PrintTo(const Pixels& pixels, std::ostream* out)
{
    *out << pixels.width << " x " << pixels.height << ":";
    for (std::size_t i = 0; i < pixels.rgb.size(); ++i) {
        if (pixels.width && i % pixels.width == 0)
            *out << "\n";
        char text[8];
        std::snprintf(text, sizeof text, "%06X ", static_cast<unsigned>(pixels.rgb[i]));
        *out << text;
    }
}

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

// A bitmap resource as the program stores it.
Pixels Drawing(const std::string& name)
{
    platform::Bitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP shape{};
    if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof shape, &shape) != sizeof shape)
        return {};
    Pixels pixels{shape.bmWidth, shape.bmHeight, std::vector<std::uint32_t>(shape.bmWidth * shape.bmHeight)};
    BITMAPINFO info = TopDown32(pixels.width, pixels.height);
    const platform::ScreenDc screen(::GetDC(nullptr));
    ::GetDIBits(screen.Get(), bitmap.Get(), 0, pixels.height, pixels.rgb.data(), &info, DIB_RGB_COLORS);
    for (std::uint32_t& p : pixels.rgb)
        p &= 0xFFFFFF;
    return pixels;
}

// Picture `index` of a list drawn see-through over magenta: a picture the
// list holds exactly as its bitmap comes out equal to that bitmap.
Pixels InList(HIMAGELIST list, int index)
{
    int width = 0;
    int height = 0;
    if (!::ImageList_GetIconSize(list, &width, &height))
        return {};
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    const platform::ScreenDc screen(::GetDC(nullptr));
    platform::Bitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::MemoryDc dc(::CreateCompatibleDC(screen.Get()));
    if (!bitmap || !dc)
        return {};
    const HGDIOBJ before = ::SelectObject(dc.Get(), bitmap.Get());
    std::fill_n(static_cast<std::uint32_t*>(bits), width * height, kMagenta);
    const bool drawn =
        ::ImageList_DrawEx(list, index, dc.Get(), 0, 0, width, height, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    ::GdiFlush();
    ::SelectObject(dc.Get(), before);
    if (!drawn)
        return {};
    Pixels pixels{width, height, std::vector<std::uint32_t>(width * height)};
    std::transform(static_cast<std::uint32_t*>(bits), static_cast<std::uint32_t*>(bits) + width * height,
                   pixels.rgb.begin(), [](std::uint32_t p) { return p & 0xFFFFFF; });
    return pixels;
}

int Channel(std::uint32_t rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFF);
}

// A reference model of scaling a masked picture down: each target pixel is
// the area-weighted mean of the source pixels under it, see-through ones
// taken as white; it is see-through (magenta) where more than half of that
// area is see-through.
Pixels BoxScaled(const Pixels& source, int size)
{
    Pixels out{size, size, std::vector<std::uint32_t>(size * size)};
    const double step = static_cast<double>(source.width) / size;
    for (int ty = 0; ty < size; ++ty)
        for (int tx = 0; tx < size; ++tx) {
            double sums[3] = {};
            double seeThrough = 0;
            for (int sy = 0; sy < source.height; ++sy)
                for (int sx = 0; sx < source.width; ++sx) {
                    const double wx = std::min((tx + 1) * step, sx + 1.0) - std::max(tx * step, 1.0 * sx);
                    const double wy = std::min((ty + 1) * step, sy + 1.0) - std::max(ty * step, 1.0 * sy);
                    if (wx <= 0 || wy <= 0)
                        continue;
                    std::uint32_t p = source.rgb[sy * source.width + sx];
                    if (p == kMagenta) {
                        seeThrough += wx * wy;
                        p = kWhite;
                    }
                    for (int c = 0; c < 3; ++c)
                        sums[c] += wx * wy * Channel(p, 16 - 8 * c);
                }
            const double area = step * step;
            std::uint32_t p = kMagenta;
            // Exactly half (along a straight edge, within rounding) is shown.
            if (seeThrough / area <= 0.5 + 1e-9) {
                p = 0;
                for (int c = 0; c < 3; ++c)
                    p |= static_cast<std::uint32_t>(std::lround(sums[c] / area)) << (16 - 8 * c);
            }
            out.rgb[ty * size + tx] = p;
        }
    return out;
}

// The mean difference per channel over the pixels both pictures show, and
// how many pixels one shows and the other does not.
struct Difference {
    double meanColour = 0;
    int maskMismatches = 0;
};

Difference Compare(const Pixels& a, const Pixels& b)
{
    Difference d;
    double total = 0;
    int shown = 0;
    for (std::size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i) {
        const bool aSee = a.rgb[i] == kMagenta;
        const bool bSee = b.rgb[i] == kMagenta;
        if (aSee != bSee) {
            ++d.maskMismatches;
            continue;
        }
        if (aSee)
            continue;
        for (int shift : {0, 8, 16})
            total += std::abs(Channel(a.rgb[i], shift) - Channel(b.rgb[i], shift));
        ++shown;
    }
    d.meanColour = shown ? total / (3.0 * shown) : 0;
    return d;
}

const char kPictureLayout[] = R"(object F: TForm
  object Images: TImageList
    BkColor = 14811135
    Pictures = <
      item
        Bitmap = 'FOLDER16'
      end
      item
        Bitmap = 'DOCUMENT16'
      end>
  end
end
)";

// The image list's object of a layout, scaled as a form scales its layout.
LayoutObject ScaledList(const char* text, int pixelsPerInch)
{
    LayoutObject layout = ParseLayout(text);
    ScaleLayout(layout, pixelsPerInch);
    for (const LayoutObject& child : layout.children)
        if (child.className == "TImageList")
            return child;
    throw std::runtime_error("no image list in the layout");
}

void Apply(TImageList& list, const LayoutObject& object)
{
    for (const LayoutProperty& property : object.properties)
        ASSERT_TRUE(list.SetLayoutProperty(property)) << property.name;
}

// `source` stretched to size x size by the platform in the given mode.
Pixels Stretched(const Pixels& source, int size, int mode)
{
    const platform::ScreenDc screen(::GetDC(nullptr));
    BITMAPINFO fromInfo = TopDown32(source.width, source.height);
    BITMAPINFO toInfo = TopDown32(size, size);
    void* fromBits = nullptr;
    void* toBits = nullptr;
    platform::Bitmap from(::CreateDIBSection(screen.Get(), &fromInfo, DIB_RGB_COLORS, &fromBits, nullptr, 0));
    platform::Bitmap to(::CreateDIBSection(screen.Get(), &toInfo, DIB_RGB_COLORS, &toBits, nullptr, 0));
    platform::MemoryDc fromDc(::CreateCompatibleDC(screen.Get()));
    platform::MemoryDc toDc(::CreateCompatibleDC(screen.Get()));
    if (!from || !to || !fromDc || !toDc)
        return {};
    std::copy(source.rgb.begin(), source.rgb.end(), static_cast<std::uint32_t*>(fromBits));
    const HGDIOBJ fromBefore = ::SelectObject(fromDc.Get(), from.Get());
    const HGDIOBJ toBefore = ::SelectObject(toDc.Get(), to.Get());
    ::SetStretchBltMode(toDc.Get(), mode);
    const bool stretched =
        ::StretchBlt(toDc.Get(), 0, 0, size, size, fromDc.Get(), 0, 0, source.width, source.height, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(toDc.Get(), toBefore);
    ::SelectObject(fromDc.Get(), fromBefore);
    if (!stretched)
        return {};
    Pixels out{size, size, std::vector<std::uint32_t>(size * size)};
    std::transform(static_cast<std::uint32_t*>(toBits), static_cast<std::uint32_t*>(toBits) + size * size,
                   out.rgb.begin(), [](std::uint32_t p) { return p & 0xFFFFFF; });
    return out;
}

// Every density a screen is set to that has a drawing of its own: 16 × the
// density / 96, as the layout's figures are scaled. The pictures are the
// drawings of that size, not the 16-pixel ones stretched.
TEST(ImageList, EachDensityShowsTheDrawingOfItsOwnSize)
{
    const struct {
        int pixelsPerInch;
        int size;
    } cases[] = {{96, 16}, {120, 20}, {144, 24}, {168, 28}, {192, 32}, {240, 40}, {288, 48}, {384, 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixelsPerInch);
        TImageList list(nullptr);
        Apply(list, ScaledList(kPictureLayout, c.pixelsPerInch));
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(::ImageList_GetIconSize(list.Handle(), &cx, &cy));
        EXPECT_EQ(cx, c.size);
        EXPECT_EQ(cy, c.size);
        ASSERT_EQ(list.Count(), 2);
        EXPECT_EQ(::ImageList_GetBkColor(list.Handle()), 14811135u);
        const std::string size = std::to_string(c.size);
        const Pixels folder = Drawing("FOLDER" + size);
        const Pixels document = Drawing("DOCUMENT" + size);
        ASSERT_EQ(folder.width, c.size) << "the resource FOLDER" << size;
        ASSERT_EQ(document.width, c.size) << "the resource DOCUMENT" << size;
        EXPECT_EQ(InList(list.Handle(), 0), folder);
        EXPECT_EQ(InList(list.Handle(), 1), document);
        // Not the 16-pixel drawing stretched: that differs in much of it.
        if (c.size == 16)
            continue;
        for (int mode : {COLORONCOLOR, HALFTONE}) {
            const Pixels stretched = Stretched(Drawing("FOLDER16"), c.size, mode);
            ASSERT_EQ(stretched.rgb.size(), folder.rgb.size());
            int differing = 0;
            for (std::size_t i = 0; i < folder.rgb.size(); ++i)
                differing += stretched.rgb[i] != folder.rgb[i];
            EXPECT_GT(differing, c.size * c.size / 3) << "mode " << mode;
        }
    }
}

// Where no drawing has the list's size, the smallest larger one is scaled
// down; only beyond the largest is that one scaled up. The reference is a
// plain area mean: the colours come within some steps of it (the
// platform's halftone filter is no exact box), the mask exactly, and the
// candidates that are not the one meant come out further off.
TEST(ImageList, ASizeWithoutItsDrawingIsScaledFromTheNextLargerOne)
{
    const struct {
        int pixelsPerInch;
        int size;
        int from;
        std::vector<int> notFrom;
    } cases[] = {
        {216, 36, 40, {32, 48}},
        {264, 44, 48, {40, 64}},
        {84, 14, 16, {20}},
        {408, 68, 64, {48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        TImageList list(nullptr);
        Apply(list, ScaledList(kPictureLayout, c.pixelsPerInch));
        ASSERT_EQ(list.Width(), c.size);
        for (int index : {0, 1}) {
            const std::string stem = index == 0 ? "FOLDER" : "DOCUMENT";
            SCOPED_TRACE(stem);
            const Pixels shown = InList(list.Handle(), index);
            ASSERT_EQ(shown.width, c.size);
            for (std::uint32_t p : shown.rgb) {
                if (p != kMagenta) {
                    ASSERT_FALSE(Channel(p, 16) > 160 && Channel(p, 8) < 96 && Channel(p, 0) > 160)
                        << "a pink fringe: " << std::hex << p;
                }
            }
            const Difference meant = Compare(shown, BoxScaled(Drawing(stem + std::to_string(c.from)), c.size));
            EXPECT_LT(meant.meanColour, 10.0);
            EXPECT_LE(meant.maskMismatches, c.from < c.size ? c.size : 0);
            for (int other : c.notFrom) {
                const Difference wrong = Compare(shown, BoxScaled(Drawing(stem + std::to_string(other)), c.size));
                EXPECT_GT(wrong.maskMismatches + wrong.meanColour, meant.maskMismatches + meant.meanColour)
                    << "as if from " << other;
            }
        }
    }
}

TEST(ImageList, BadPicturesAndSizesAreRefusedNamingTheirLine)
{
    const struct {
        const char* property;
        const char* expected;
    } cases[] = {
        {"Pictures = <\n      item\n        Bitmap = 'NOWHERE16'\n      end>",
         "layout line 5: the picture NOWHERE16 cannot be loaded"},
        {"Pictures = <\n      item\n        Bitmap = 'FOLDER17'\n      end>",
         "layout line 5: the picture FOLDER17 cannot be loaded"},
        {"Pictures = <\n      item\n        Name = 'FOLDER16'\n      end>",
         "layout line 5: unknown picture property Name"},
        {"Width = 0", "layout line 3: Width must be between 1 and 256"},
        {"Height = 100000", "layout line 3: Height must be between 1 and 256"},
        {"Width = -16", "layout line 3: Width must be between 1 and 256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.property);
        // A list already built keeps its pictures and its size.
        TImageList list(nullptr);
        Apply(list, ScaledList(kPictureLayout, 96));
        const HIMAGELIST before = list.Handle();
        const std::string text =
            std::string("object F: TForm\n  object Images: TImageList\n    ") + c.property + "\n  end\nend\n";
        const LayoutObject object = ParseLayout(text).children.at(0);
        try {
            list.SetLayoutProperty(object.properties.at(0));
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.Message()).substr(0, std::strlen(c.expected)), c.expected);
        }
        EXPECT_EQ(list.Handle(), before);
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(list.Width(), 16);
        EXPECT_EQ(list.Height(), 16);
        EXPECT_EQ(InList(list.Handle(), 0), Drawing("FOLDER16"));
    }
}

// One reference of the test's own to a native list (they are counted
// objects), so that it can count the others once the component let go.
class HeldList {
public:
    explicit HeldList(HIMAGELIST list)
    {
        using QueryInterface = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);
        const auto query = reinterpret_cast<QueryInterface>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"comctl32.dll"), "HIMAGELIST_QueryInterface")));
        if (query)
            query(list, __uuidof(IUnknown), reinterpret_cast<void**>(&unknown_));
    }
    ~HeldList()
    {
        if (unknown_)
            unknown_->Release();
    }
    HeldList(const HeldList&) = delete;
    HeldList& operator=(const HeldList&) = delete;

    bool Held() const { return unknown_ != nullptr; }
    // The references besides this one: 0 once the list was destroyed.
    ULONG Others() const
    {
        const ULONG count = unknown_->AddRef();
        unknown_->Release();
        return count - 2;
    }

private:
    IUnknown* unknown_ = nullptr;
};

class TPictureForm : public TForm {
public:
    TPictureForm() : TForm(Application) { BuildFromLayoutText(kLayout, Class()); }

    TTreeView* Tree = nullptr;
    TListView* List = nullptr;
    TImageList* Images = nullptr;

    static constexpr char kLayout[] = R"(object PictureForm: TPictureForm
  Left = 10
  Top = 10
  ClientWidth = 300
  ClientHeight = 200
  Caption = 'pictures'
  object Tree: TTreeView
    Width = 150
    Align = alLeft
    Images = Images
  end
  object List: TListView
    Align = alClient
    ViewStyle = vsReport
    SmallImages = Images
    Columns = <
      item
        Caption = 'A'
      end>
  end
  object Images: TImageList
    Pictures = <
      item
        Bitmap = 'FOLDER16'
      end
      item
        Bitmap = 'DOCUMENT16'
      end>
  end
end
)";

    static const FormClass& Class()
    {
        using F = TPictureForm;
        static const FormClass formClass{
            "TPictureForm",
            {Published("Tree", &F::Tree), Published("List", &F::List), Published("Images", &F::Images)}};
        return formClass;
    }
};

// What a form does for its image list at a new density: the list's pixel
// figures of the scaled layout, then its pictures.
// ScaleLayout leaves a layout at 96 pixels per inch as it is, so that a
// form coming back to 96 must write the framework's figures itself.
void ApplyAgain(TImageList& list, int pixelsPerInch)
{
    LayoutObject object = ScaledList(TPictureForm::kLayout, 96);
    WriteDefaultPixels(object);
    ScaleLayout(object, pixelsPerInch);
    for (const LayoutProperty& property : object.properties) {
        if (property.name == "Width" || property.name == "Height" || property.name == "Pictures") {
            ASSERT_TRUE(list.SetLayoutProperty(property)) << property.name;
        }
    }
}

HIMAGELIST TreeList(const TPictureForm& form)
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageW(form.Tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}

HIMAGELIST ListViewList(const TPictureForm& form)
{
    return reinterpret_cast<HIMAGELIST>(::SendMessageW(form.List->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
}

// What the tree paints just left of a row's text, read back from the
// screen; a picture taller than the row may reach above the client area,
// and `hidden` says by how many rows.
Pixels PaintedRowPicture(TTreeView& tree, TTreeNode& node, int size, int& hidden)
{
    ::RedrawWindow(tree.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT text{};
    const auto item = static_cast<HTREEITEM>(node.NativeItem());
    std::memcpy(&text, &item, sizeof item);
    if (!::SendMessageW(tree.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
        return {};
    const int top = static_cast<int>(text.top + text.bottom) / 2 - size / 2;
    hidden = std::max(0, -top);
    Pixels pixels{size, size - hidden, {}};
    HDC window = ::GetDC(tree.Handle());
    for (int y = top + hidden; y < top + size; ++y)
        for (int x = static_cast<int>(text.left) - size; x < text.left; ++x) {
            const COLORREF c = ::GetPixel(window, x, y);
            pixels.rgb.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
    ::ReleaseDC(tree.Handle(), window);
    return pixels;
}

// The form's figures applied again at another density, as a move to
// another monitor does: the list is built anew at the new size, both views
// show the new list (the tree paints its new picture), the old list is
// destroyed, and the pictures are replaced, not added to.
TEST(ImageList, ApplyingTheLayoutAgainAtAnotherDensityHandsTheViewsTheNewList)
{
    TPictureForm form;
    TTreeNode* node = form.Tree->Items.AddChildObject(nullptr, "row", nullptr);
    ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    const struct {
        int pixelsPerInch;
        int size;
    } steps[] = {{144, 24}, {120, 20}, {192, 32}, {96, 16}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pixelsPerInch);
        const HIMAGELIST old = form.Images->Handle();
        HeldList held(old);
        ASSERT_TRUE(held.Held());
        ASSERT_GE(held.Others(), 1u);
        ApplyAgain(*form.Images, step.pixelsPerInch);
        const HIMAGELIST fresh = form.Images->Handle();
        EXPECT_NE(fresh, old);
        EXPECT_EQ(TreeList(form), fresh);
        EXPECT_EQ(ListViewList(form), fresh);
        EXPECT_EQ(held.Others(), 0u) << "the old list outlived its use";
        EXPECT_EQ(form.Images->Count(), 2);
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(::ImageList_GetIconSize(fresh, &cx, &cy));
        EXPECT_EQ(cx, step.size);
        EXPECT_EQ(cy, step.size);
        const Pixels folder = Drawing("FOLDER" + std::to_string(step.size));
        EXPECT_EQ(InList(fresh, 0), folder);
        // Over the tree's background rather than magenta.
        Pixels expected = folder;
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        for (std::uint32_t& p : expected.rgb)
            if (p == kMagenta)
                p = GetRValue(window) << 16 | GetGValue(window) << 8 | GetBValue(window);
        int hidden = 0;
        const Pixels painted = PaintedRowPicture(*form.Tree, *node, step.size, hidden);
        expected.rgb.erase(expected.rgb.begin(), expected.rgb.begin() + hidden * step.size);
        expected.height -= hidden;
        EXPECT_LT(hidden, step.size / 4);
        EXPECT_EQ(painted, expected);
    }
}

// Whichever goes first, no view is left with a destroyed list and the list
// is destroyed once: a view that goes first is not told of later lists, a
// list that goes first takes itself out of the views.
TEST(ImageList, AViewOrTheListMayGoFirst)
{
    for (const bool listFirst : {false, true}) {
        SCOPED_TRACE(listFirst ? "list first" : "views first");
        auto form = std::make_unique<TPictureForm>();
        form->Tree->Items.AddChildObject(nullptr, "row", nullptr);
        ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        auto held = std::make_unique<HeldList>(form->Images->Handle());
        ASSERT_TRUE(held->Held());
        if (listFirst) {
            delete form->Images;
            form->Images = nullptr;
            EXPECT_EQ(held->Others(), 0u);
            EXPECT_EQ(TreeList(*form), nullptr);
            EXPECT_EQ(ListViewList(*form), nullptr);
            // The tree paints without the list it no longer has.
            ::RedrawWindow(form->Tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        } else {
            delete form->Tree;
            form->Tree = nullptr;
            delete form->List;
            form->List = nullptr;
            ApplyAgain(*form->Images, 144);
            EXPECT_EQ(held->Others(), 0u);
            held = std::make_unique<HeldList>(form->Images->Handle());
            ASSERT_TRUE(held->Held());
        }
        form.reset();
        EXPECT_EQ(held->Others(), 0u);
    }
}

} // namespace
