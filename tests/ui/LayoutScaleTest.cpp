#include "ui/LayoutScale.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Value(layout, "Left"), 332);   // 331.5 rounds up
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

} // namespace
