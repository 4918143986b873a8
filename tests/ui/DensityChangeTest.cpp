// A form moved to a monitor of another density, as the platform tells it:
// WM_DPICHANGED with the new density and the window's own rectangle scaled
// to it. Each step must leave the form as a form built at that density from
// the start, a round trip must leave it as it was, and no GDI object may be
// left behind.
#include "tests/support/GdiObjects.h"
#include "tests/support/LayoutShot.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <commctrl.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TDensityForm : public TForm {
public:
    TDensityForm(std::string_view layout, int density) : TForm(Application)
    {
        BuildFromLayoutText(layout, layout.find("bsDialog") == std::string_view::npos ? Aligned() : Fixed(), density);
        if (Field)
            Field->GrowToText();
    }

    TPanel* Bar = nullptr;
    TEdit* Field = nullptr;
    TLabel* Caption = nullptr;
    TButton* Go = nullptr;
    TTreeView* Tree = nullptr;
    TSplitter* Split = nullptr;
    TListView* List = nullptr;
    TStatusBar* Status = nullptr;
    TListBox* Items = nullptr;
    TMemo* Notes = nullptr;

    static const FormClass& Aligned()
    {
        using F = TDensityForm;
        static const FormClass formClass{"TDensityForm",
                                         {Published("Bar", &F::Bar), Published("Field", &F::Field),
                                          Published("Caption", &F::Caption), Published("Tree", &F::Tree),
                                          Published("Split", &F::Split), Published("List", &F::List),
                                          Published("Status", &F::Status)}};
        return formClass;
    }
    static const FormClass& Fixed()
    {
        using F = TDensityForm;
        static const FormClass formClass{"TDensityForm",
                                         {Published("Caption", &F::Caption), Published("Go", &F::Go),
                                          Published("Items", &F::Items), Published("Notes", &F::Notes)}};
        return formClass;
    }
};

// Like the browser: every control aligned, so the window takes any size.
const char kAligned[] = R"(object F: TDensityForm
  Left = 30
  Top = 20
  ClientWidth = 500
  ClientHeight = 360
  Font.Name = 'Tahoma'
  Font.Height = -11
  object Bar: TPanel
    Height = 30
    Align = alTop
    object Field: TEdit
      Left = 4
      Top = 4
      Width = 60
      Height = 21
      Text = 'C:\Program Files\Common Files'
    end
    object Caption: TLabel
      Left = 300
      Top = 8
      Width = 10
      Height = 10
      Caption = '주소창'
    end
  end
  object Tree: TTreeView
    Width = 150
    Align = alLeft
  end
  object Split: TSplitter
    Left = 150
    Width = 4
    Align = alLeft
    Cursor = crHSplit
  end
  object List: TListView
    Align = alClient
    ViewStyle = vsReport
    Columns = <
      item
        Caption = '이름'
        Width = 150
      end
      item
        Caption = '크기'
      end>
  end
  object Status: TStatusBar
    Top = 340
    Height = 20
    Align = alBottom
    Panels = <
      item
        Width = 120
      end
      item
        Width = 80
      end>
  end
end
)";

// Like the information window: controls at fixed places in a dialog frame.
const char kFixed[] = R"(object F: TDensityForm
  Left = 40
  Top = 30
  BorderStyle = bsDialog
  ClientWidth = 560
  ClientHeight = 420
  Font.Name = 'Tahoma'
  Font.Height = -16
  object Caption: TLabel
    Left = 10
    Top = 10
    Width = 10
    Height = 10
    Caption = '시스템정보'
  end
  object Items: TListBox
    Left = 10
    Top = 40
    Width = 250
    Height = 300
    ItemHeight = 20
  end
  object Notes: TMemo
    Left = 280
    Top = 40
    Width = 270
    Height = 300
    Font.Height = -14
  end
  object Go: TButton
    Left = 460
    Top = 370
    Width = 90
    Height = 30
    Caption = '닫기'
  end
end
)";

struct Layout {
    const char* name;
    const char* text;
};
const Layout kLayouts[] = {{"aligned", kAligned}, {"fixed", kFixed}};
// At 240 the fixed layout is drawn smaller to fit the test screen (1280 x 1024).
const int kSteps[] = {144, 192, 240, 96};

TEST(DensityChange, EveryStepIsTheFormBuiltAtThatDensityAndTheTripLeavesNothing)
{
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        TDensityForm form(layout.text, 96);
        const std::vector<std::string> start = Shot(form);
        // A first trip lets the platform make what it keeps once made.
        int density = 96;
        for (int step : kSteps) {
            SendDensityChange(form, density, step);
            density = step;
        }
        const std::optional<long> before = GdiObjectCount();
        for (int step : kSteps) {
            SCOPED_TRACE(std::to_string(density) + " to " + std::to_string(step) + " dpi");
            SendDensityChange(form, density, step);
            density = step;
            EXPECT_EQ(form.PixelsPerInch(), step);
            TDensityForm fresh(layout.text, step);
            EXPECT_EQ(Shot(form), Shot(fresh));
            EXPECT_EQ(OutsideWorkArea(form.Handle()), "");
        }
        EXPECT_EQ(Shot(form), start);
        ASSERT_TRUE(before.has_value()) << "this platform cannot count GDI objects";
        EXPECT_EQ(GdiObjectCount(), before) << "GDI objects left by a round trip";
    }
}

// What the user set (a window's size, the splitter's place, a column's
// width) keeps its size on the screen: scaled with the density, not reset.
TEST(DensityChange, SizesTheUserChoseAreScaledAndComeBack)
{
    TDensityForm form(kAligned, 96);
    ::SetWindowPos(form.Handle(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    HWND split = form.Split->Handle();
    ::SendMessageW(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    ::SendMessageW(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(42, 10));
    ::SendMessageW(split, WM_LBUTTONUP, 0, MAKELPARAM(42, 10));
    ListView_SetColumnWidth(form.List->Handle(), 0, 201);
    const std::vector<std::string> start = Shot(form);
    ASSERT_EQ(RectIn(form.Tree->Handle(), form.Handle()).right, 190) << "the splitter moved the tree's edge";

    SendDensityChange(form, 96, 144);
    RECT outer{};
    ::GetWindowRect(form.Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 960);
    EXPECT_EQ(outer.bottom - outer.top, 720);
    EXPECT_EQ(RectIn(form.Tree->Handle(), form.Handle()).right, 285) << "190 at 96 dpi";
    EXPECT_EQ(ListView_GetColumnWidth(form.List->Handle(), 0), 302) << "201 at 96 dpi, 301.5 rounded";
    EXPECT_EQ(ListView_GetColumnWidth(form.List->Handle(), 1), 75) << "the layout's, at 144 dpi";

    SendDensityChange(form, 144, 96);
    EXPECT_EQ(Shot(form), start);
}

// What no platform sends leaves the form as it is.
TEST(DensityChange, AChangeWithoutADensityOrARectangleChangesNothing)
{
    TDensityForm form(kFixed, 96);
    const std::vector<std::string> start = Shot(form);
    RECT rect{};
    ::GetWindowRect(form.Handle(), &rect);
    ::SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(&rect));
    ::SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    EXPECT_EQ(Shot(form), start);
    EXPECT_EQ(form.PixelsPerInch(), 96);
}

} // namespace
