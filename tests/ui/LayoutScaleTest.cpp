#include "ui/LayoutScale.h"

#include "ui/Resources.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char kLayout[] = R"(object F: TForm
  Left = 221
  ClientWidth = 973
  Font.Height = -11
  TabOrder = 3
  Caption = 'x'
  object L: TListView
    Width = 75
    Columns = <
      item
        Width = 150
      end>
    object Inner: TLabel
      Top = 1
      Height = 21
    end
  end
end
)";

std::int64_t Value(const std::vector<LayoutProperty>& properties, const char* name)
{
    for (const LayoutProperty& property : properties)
        if (property.name == name)
            return property.value.integer;
    return -999;
}

std::int64_t Value(const LayoutObject& object, const char* name)
{
    return Value(object.properties, name);
}

const LayoutObject& Child(const LayoutObject& parent, const char* name)
{
    for (const LayoutObject& child : parent.children)
        if (child.name == name)
            return child;
    throw std::runtime_error(std::string("no object ") + name);
}

// The widths of the items of one collection; -999 for an item without one.
std::vector<std::int64_t> ItemWidths(const LayoutObject& object, const char* collection)
{
    std::vector<std::int64_t> widths;
    for (const LayoutProperty& property : object.properties)
        if (property.name == collection)
            for (const auto& item : property.value.collection)
                widths.push_back(Value(item, "Width"));
    return widths;
}

TEST(LayoutScale, PixelsFollowTheScreensDensityAndOtherNumbersStay)
{
    LayoutObject layout = ParseLayout(kLayout);
    ScaleLayout(layout, 144);
    EXPECT_EQ(Value(layout, "Left"), 332); // 331.5 rounds up
    EXPECT_EQ(Value(layout, "ClientWidth"), 1460);
    EXPECT_EQ(Value(layout, "Font.Height"), -17) << "negative heights round like positive ones";
    EXPECT_EQ(Value(layout, "TabOrder"), 3);
    const LayoutObject& list = layout.children[0];
    EXPECT_EQ(Value(list, "Width"), 113);
    EXPECT_EQ(list.properties[1].value.collection[0][0].value.integer, 225) << "column widths too";
    EXPECT_EQ(Value(list.children[0], "Top"), 2);
    EXPECT_EQ(Value(list.children[0], "Height"), 32);
}

TEST(LayoutScale, NinetySixPixelsPerInchAndNonsenseChangeNothing)
{
    for (int pixelsPerInch : {96, 0, -5}) {
        LayoutObject layout = ParseLayout(kLayout);
        ScaleLayout(layout, pixelsPerInch);
        EXPECT_EQ(Value(layout, "Left"), 221);
        EXPECT_EQ(Value(layout, "Font.Height"), -11);
    }
}

TEST(LayoutScale, FiguresBeyondAnyScreenSaturateInsteadOfOverflowing)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::int64_t value;
        int pixelsPerInch;
        std::int64_t expected;
    };
    // 9,000,000,000,000,001 × 1.5 is 13,500,000,000,000,001.5: exact far beyond
    // 32 bits, and rounded away from zero on both sides. (2^63 - 1) / 2 × 2 is
    // the largest figure but one: it still fits, so it does not saturate.
    const Case cases[] = {
        {9000000000000001, 144, 13500000000000002},
        {-9000000000000001, 144, -13500000000000002},
        {kMax, 144, kMax},
        {kMax / 2, 192, kMax - 1},
        {-kMax, 144, -kMax},
        {std::numeric_limits<std::int64_t>::min(), 120, -kMax},
        {kMax, 48, kMax / 2 + 1},
    };
    for (const Case& c : cases) {
        LayoutObject layout;
        layout.properties.push_back({"Width", {LayoutValue::Kind::Integer, c.value, {}, {}, {}}, 1});
        ScaleLayout(layout, c.pixelsPerInch);
        EXPECT_EQ(layout.properties[0].value.integer, c.expected) << c.value << " at " << c.pixelsPerInch;
    }
}

// What the framework supplies where a layout is silent grows like what the
// layout says. At 96 pixels per inch the file list's columns are 150, 100,
// 120 and the framework's 50 wide; 1.5 times that is 225, 150, 180 and 75.
TEST(LayoutScale, TheFrameworksOwnFiguresGrowWithTheLayouts)
{
    LayoutObject search = ParseLayout(LoadTextResource(L"SEARCHWINDOW"));
    ScaleLayout(search, 144);
    EXPECT_EQ(ItemWidths(Child(search, "T_LISTVIEW_SEARCH"), "Columns"),
              (std::vector<std::int64_t>{225, 150, 180, 75}));
    EXPECT_EQ(Value(Child(search, "T_CENBAR"), "MinSize"), 45) << "the splitter's least width, 30 at 96";
    // The pictures' size, 16 at 96, comes before the pictures themselves.
    const LayoutObject& images = Child(search, "T_ICON_SEARCH");
    EXPECT_EQ(Value(images, "Width"), 24);
    EXPECT_EQ(Value(images, "Height"), 24);
    std::vector<String> order;
    for (const LayoutProperty& property : images.properties)
        if (property.name == "Width" || property.name == "Height" || property.name == "Pictures")
            order.push_back(property.name);
    EXPECT_EQ(order.back(), "Pictures");

    LayoutObject bare = ParseLayout(R"(object F: TForm
  object T: TTreeView
  end
  object S: TStatusBar
    Panels = <
      item
        Text = 'a'
      end>
  end
end
)");
    ScaleLayout(bare, 144);
    EXPECT_EQ(Value(Child(bare, "T"), "Indent"), 29) << "19 at 96, 28.5 rounded up";
    EXPECT_EQ(ItemWidths(Child(bare, "S"), "Panels"), (std::vector<std::int64_t>{75}));
}

} // namespace

namespace {

LayoutObject WithFonts(const std::vector<std::int64_t>& rootAndChildHeights)
{
    LayoutObject layout;
    LayoutObject* object = &layout;
    for (std::int64_t height : rootAndChildHeights) {
        if (height != 0)
            object->properties.push_back({"Font.Height", {LayoutValue::Kind::Integer, height, {}, {}, {}}, 1});
        object->children.emplace_back();
        object = &object->children.back();
    }
    return layout;
}

// How far a layout may be drawn smaller: its text stays at 8 point (11
// pixels at 96 dpi, 14 at 120, 17 at 144, 22 at 192) or, where the layout
// draws smaller, at that. A figure f at d dpi is (f * d + 48) / 96 pixels:
// text of 16 pixels keeps 11 down to 63 dpi ((16 * 63 + 48) / 96 = 11) and
// 17 down to 99 ((16 * 99 + 48) / 96 = 17).
TEST(LayoutScale, TextIsNeverDrawnBelowEightPoint)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> heights; // the root's first; 0: none named
        int density;
        int expected;
    };
    const Case cases[] = {
        {"16 pixels at 96 dpi", {-16}, 96, 63},
        {"16 pixels at 120 dpi: 14 at 81", {-16}, 120, 81},
        {"16 pixels at 144 dpi", {-16}, 144, 99},
        {"16 pixels at 192 dpi: 22 at 129", {-16}, 192, 129},
        {"a cell height of 16 alike", {16}, 144, 99},
        {"8-point text cannot shrink", {-11}, 144, 144},
        {"a child's smaller text sets the bound: 8 pixels down to 90", {-16, -8}, 96, 90},
        {"no height named: the framework's 11 pixels", {0, -16}, 96, 92},
        {"a height beyond any screen", {-4000000000000}, 96, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LowestReadablePixelsPerInch(WithFonts(c.heights), c.density), c.expected) << c.what;
}

TEST(LayoutScale, OnlyALayoutWithAlignedControlsTakesAnySize)
{
    const LayoutObject search = ParseLayout(LoadTextResource(L"SEARCHWINDOW"));
    const LayoutObject info = ParseLayout(LoadTextResource(L"SYSINFOTEST"));
    EXPECT_TRUE(HasAlignedControls(search));
    EXPECT_FALSE(HasAlignedControls(info));
    EXPECT_FALSE(HasAlignedControls(ParseLayout("object F: TForm\n  Align = alClient\n  object L: TLabel\n"
                                                "    Align = alNone\n  end\nend\n")))
        << "the form's own alignment and alNone say nothing of its controls";
    EXPECT_TRUE(HasAlignedControls(ParseLayout("object F: TForm\n  object P: TPanel\n    object L: TLabel\n"
                                               "      Align = alBottom\n    end\n  end\nend\n")));
}

} // namespace
