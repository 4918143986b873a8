#include "ui/LayoutScale.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

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

std::int64_t Value(const LayoutObject& object, const char* name)
{
    for (const LayoutProperty& property : object.properties)
        if (property.name == name)
            return property.value.integer;
    return -999;
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

} // namespace
