#include "ui/Layout.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

namespace {

const char kLayout[] = R"(object Main: TMainForm
  Caption = '윈도우 ''탐색기'''
  Left = -221
  Visible = True
  Anchors = [akLeft, akTop]
  OnCreate = ShowWnd
  // a comment line
  object Panel1: TPanel
    Columns = <
      item
        Caption = '이름'
        Width = 150
      end
      item
      end>
    object Inner: TButton
    end
  end
  object Second: TEdit
  end
end
)";

TEST(Layout, ParsesObjectsPropertiesAndValuesOfEveryKind)
{
    const LayoutObject root = ParseLayout(kLayout);
    EXPECT_EQ(root.name, "Main");
    EXPECT_EQ(root.className, "TMainForm");
    ASSERT_EQ(root.properties.size(), 5u);
    EXPECT_EQ(LayoutText(root.properties[0]), "윈도우 '탐색기'");
    EXPECT_EQ(LayoutInteger(root.properties[1]), -221);
    EXPECT_TRUE(LayoutBoolean(root.properties[2]));
    EXPECT_EQ(root.properties[3].value.set, (std::vector<String>{"akLeft", "akTop"}));
    EXPECT_EQ(LayoutIdentifier(root.properties[4]), "ShowWnd");

    ASSERT_EQ(root.children.size(), 2u);
    const LayoutObject& panel = root.children[0];
    EXPECT_EQ(panel.name, "Panel1");
    ASSERT_EQ(panel.properties.size(), 1u);
    const LayoutValue& columns = panel.properties[0].value;
    ASSERT_EQ(columns.kind, LayoutValue::Kind::Collection);
    ASSERT_EQ(columns.collection.size(), 2u);
    EXPECT_EQ(LayoutText(columns.collection[0][0]), "이름");
    EXPECT_EQ(LayoutInteger(columns.collection[0][1]), 150);
    EXPECT_TRUE(columns.collection[1].empty());
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].className, "TButton");
    EXPECT_EQ(root.children[1].name, "Second");
    EXPECT_EQ(root.children[1].line, 19);
}

TEST(Layout, AcceptsAByteOrderMark)
{
    EXPECT_EQ(ParseLayout("\xEF\xBB\xBFobject A: TForm\nend").name, "A");
}

void ExpectFailureAtLine(const char* text, int line)
{
    try {
        ParseLayout(text);
        FAIL() << "no exception for: " << text;
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("line " + std::to_string(line)), String::npos) << e.Message();
    }
}

TEST(Layout, MalformedTextFailsNamingTheLine)
{
    ExpectFailureAtLine("object A: TForm\n  Caption = 'open\nend", 2);
    ExpectFailureAtLine("object A: TForm\n  Left = \nend", 3);
    ExpectFailureAtLine("object A: TForm\n  Left 5\nend", 2);
    ExpectFailureAtLine("object A TForm\nend", 1);
    ExpectFailureAtLine("object A: TForm\n  object B: TPanel\n", 3);
    ExpectFailureAtLine("object A: TForm\nend\nobject B: TForm\nend", 3);
    ExpectFailureAtLine("object A: TForm\n  Left = 99999999999999999999\nend", 2);
    ExpectFailureAtLine("object A: TForm\n  Cols = <\n  item\n  Width = 1\n", 5);
    ExpectFailureAtLine("", 1);
}

TEST(Layout, NestingBeyondAnyWindowIsRefusedNotFollowedDownTheStack)
{
    // Each level of objects or collections is a level of the parser's
    // recursion: a crafted text must not be able to exhaust the stack.
    String objects;
    for (int i = 0; i < 100'000; ++i)
        objects += "object A: T\n";
    EXPECT_THROW(ParseLayout(objects), Exception);
    String items = "object A: T\n";
    for (int i = 0; i < 100'000; ++i)
        items += "Cols = <item\n";
    EXPECT_THROW(ParseLayout(items), Exception);

    // Real layouts nest a few levels; far more than that still parses.
    String nested;
    for (int i = 0; i < 40; ++i)
        nested += "object A: T\nCols = <item\nWidth = 1\nend>\n";
    for (int i = 0; i < 40; ++i)
        nested += "end\n";
    EXPECT_NO_THROW(ParseLayout(nested));
}

TEST(Layout, ValueOfTheWrongKindIsRefused)
{
    const LayoutObject root = ParseLayout("object A: TForm\n  Left = 'x'\n  Top = Maybe\nend");
    EXPECT_THROW(LayoutInteger(root.properties[0]), Exception);
    EXPECT_THROW(LayoutBoolean(root.properties[1]), Exception);
    EXPECT_THROW(LayoutText(root.properties[1]), Exception);
}

} // namespace
