// Forms built from layout texts: binding by name, failures on unknown names,
// alignment, and events delivered through the platform's own messages.
#include "ui/Form.h"

#include "base/WideText.h"
#include "platform/UniqueHandle.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TextFit.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

class TTestForm : public TForm {
public:
    TTestForm(TComponent* owner, std::string_view layout) : TForm(owner) { BuildFromLayoutText(layout, Class()); }

    TPanel* Bar = nullptr;
    TButton* Go = nullptr;
    TButton* Other = nullptr;
    TTreeView* Tree = nullptr;
    TSplitter* Split = nullptr;
    TListView* List = nullptr;
    TLabel* Grows = nullptr;
    TLabel* Fixed = nullptr;
    TEdit* Figure = nullptr;

    int created = 0;
    bool controlsExistedOnCreate = false;
    int goClicks = 0;
    bool foreignThrow = false;
    int otherClicks = 0;
    int treeClicks = 0;
    std::vector<TCloseAction*> closes;

    void Created(TObject*)
    {
        ++created;
        controlsExistedOnCreate = Go && Go->Handle() && Tree && Tree->Handle();
    }
    void GoClick(TObject*) { ++goClicks; }
    void OtherClick(TObject*) { ++otherClicks; }
    void TreeClick(TObject*) { ++treeClicks; }
    void Throwing(TObject*)
    {
        if (foreignThrow)
            throw std::runtime_error("not ours");
        throw Exception("handler failed");
    }
    void Closing(TObject*, TCloseAction& action) { closes.push_back(&action); }

    static const FormClass& Class()
    {
        using F = TTestForm;
        static const FormClass formClass{
            "TTestForm",
            {Published("Bar", &F::Bar), Published("Go", &F::Go), Published("Other", &F::Other),
             Published("Tree", &F::Tree), Published("Split", &F::Split), Published("List", &F::List),
             Published("Grows", &F::Grows), Published("Fixed", &F::Fixed), Published("Figure", &F::Figure),
             Published("Created", &F::Created), Published("GoClick", &F::GoClick),
             Published("OtherClick", &F::OtherClick), Published("TreeClick", &F::TreeClick),
             Published("Throwing", &F::Throwing), Published("Closing", &F::Closing)}};
        return formClass;
    }
};

const char kLayout[] = R"(object TestForm: TTestForm
  Left = 10
  Top = 10
  ClientWidth = 400
  ClientHeight = 300
  Caption = '시험'
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OnCreate = Created
  OnClose = Closing
  object Tree: TTreeView
    Width = 120
    Height = 10
    Align = alLeft
    TabOrder = 1
    OnClick = TreeClick
  end
  object Split: TSplitter
    Left = 120
    Width = 5
    Align = alLeft
    Cursor = crHSplit
  end
  object List: TListView
    Align = alClient
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'A'
      end>
    TabOrder = 2
  end
  object Bar: TPanel
    Height = 30
    Align = alTop
    TabOrder = 0
    object Go: TButton
      Left = 5
      Top = 3
      Width = 60
      Height = 24
      Caption = 'Go'
      OnClick = GoClick
    end
    object Grows: TLabel
      Width = 4
      Height = 4
      Caption = '자라는 이름표'
    end
    object Fixed: TLabel
      Width = 4
      Height = 4
      AutoSize = False
      Caption = '고정된 이름표'
    end
    object Other: TButton
      Left = 70
      Top = 3
      Width = 60
      Height = 24
      OnClick = OtherClick
    end
    object Figure: TEdit
      Left = 140
      Top = 3
      Width = 41
      Height = 24
    end
  end
end
)";

RECT BoundsInParent(HWND hwnd)
{
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(Form, BindsEveryNameAndRunsOnCreateOnceTheWindowsExist)
{
    TTestForm form(Application, kLayout);
    EXPECT_EQ(form.created, 1);
    EXPECT_TRUE(form.controlsExistedOnCreate);
    EXPECT_EQ(form.Name(), "TestForm");
    EXPECT_EQ(form.Text(), "시험");
    EXPECT_EQ(form.Go->Text(), "Go");
    EXPECT_EQ(::GetParent(form.Go->Handle()), form.Bar->Handle());
    EXPECT_EQ(form.List->Columns().size(), 1u);
}

TEST(Form, AlignedControlsShareTheClientArea)
{
    TTestForm form(Application, kLayout);
    RECT client;
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    const RECT bar = BoundsInParent(form.Bar->Handle());
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom, 30);
    EXPECT_EQ(bar.right, 400);
    const RECT tree = BoundsInParent(form.Tree->Handle());
    EXPECT_EQ(tree.top, 30);
    EXPECT_EQ(tree.bottom, 300);
    EXPECT_EQ(tree.right, 120);
    const RECT list = BoundsInParent(form.List->Handle());
    EXPECT_EQ(list.left, 125);
    EXPECT_EQ(list.right, 400);

    // Resizing the form lays the controls out again.
    ::SetWindowPos(form.Handle(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
    ::GetClientRect(form.Handle(), &client);
    EXPECT_EQ(BoundsInParent(form.List->Handle()).right, client.right);
    EXPECT_EQ(BoundsInParent(form.Tree->Handle()).bottom, client.bottom);
}

TEST(Form, SplitterDragResizesTheControlBeforeItWithinLimits)
{
    TTestForm form(Application, kLayout);
    HWND split = form.Split->Handle();
    ::SendMessageW(split, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    ::SendMessageW(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(52, 10));
    EXPECT_EQ(BoundsInParent(form.Tree->Handle()).right, 170);
    EXPECT_EQ(BoundsInParent(form.List->Handle()).left, 175);
    ::SendMessageW(split, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-500), 10));
    EXPECT_EQ(BoundsInParent(form.Tree->Handle()).right, 30) << "never narrower than the minimum";
    ::SendMessageW(split, WM_LBUTTONUP, 0, MAKELPARAM(0, 10));
}

String Corners(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

TEST(Form, LabelsAndGrowingEditsShowTheirWholeTextAndMoveNothingElse)
{
    TTestForm form(Application, kLayout);
    RECT grows;
    RECT fixed;
    ::GetClientRect(form.Grows->Handle(), &grows);
    ::GetClientRect(form.Fixed->Handle(), &fixed);
    const SIZE caption = TextExtentIn(form.Grows->Handle(), L"자라는 이름표");
    EXPECT_GE(grows.right, caption.cx);
    EXPECT_GE(grows.bottom, caption.cy);
    EXPECT_EQ(fixed.right, 4);
    EXPECT_EQ(fixed.bottom, 4);

    HWND figure = form.Figure->Handle();
    const RECT laidOut = BoundsInParent(figure);
    const RECT go = BoundsInParent(form.Go->Handle());
    const RECT other = BoundsInParent(form.Other->Handle());
    form.Figure->SetText("123456789012");
    ASSERT_FALSE(ShowsWholeText(figure)) << "twelve digits overflow 41 pixels";
    form.Figure->GrowToText();
    EXPECT_TRUE(ShowsWholeText(figure));
    const RECT grown = BoundsInParent(figure);
    EXPECT_EQ(grown.left, laidOut.left);
    EXPECT_EQ(grown.top, laidOut.top);
    EXPECT_EQ(grown.bottom, laidOut.bottom);
    EXPECT_GT(grown.right, laidOut.right);
    EXPECT_EQ(Corners(BoundsInParent(form.Go->Handle())), Corners(go));
    EXPECT_EQ(Corners(BoundsInParent(form.Other->Handle())), Corners(other));

    form.Figure->SetText("1");
    form.Figure->GrowToText();
    EXPECT_EQ(Corners(BoundsInParent(figure)), Corners(grown)) << "a shorter text does not narrow it";
}

TEST(Form, TabOrderFollowsTheLayout)
{
    TTestForm form(Application, kLayout);
    HWND first = ::GetWindow(form.Handle(), GW_CHILD);
    EXPECT_EQ(first, form.Bar->Handle());
    EXPECT_EQ(::GetWindow(first, GW_HWNDNEXT), form.Tree->Handle());
    EXPECT_EQ(::GetWindow(::GetWindow(first, GW_HWNDNEXT), GW_HWNDNEXT), form.List->Handle());
}

TEST(Form, AClickReachesOnlyTheHandlerOfTheClickedControl)
{
    TTestForm form(Application, kLayout);
    ::SendMessageW(form.Go->Handle(), BM_CLICK, 0, 0);
    ::SendMessageW(form.Go->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.goClicks, 2);
    EXPECT_EQ(form.otherClicks, 0);
    // The same notification code from the list and from the tree: only the
    // tree's own reaches the tree's handler.
    NMHDR fromList{form.List->Handle(), 0, static_cast<UINT>(NM_CLICK)};
    ::SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&fromList));
    EXPECT_EQ(form.treeClicks, 0);
    NMHDR fromTree{form.Tree->Handle(), 0, static_cast<UINT>(NM_CLICK)};
    ::SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&fromTree));
    EXPECT_EQ(form.treeClicks, 1);
    EXPECT_EQ(form.goClicks, 2);
}

TEST(Form, AnExceptionInAHandlerIsReportedAndDoesNotEscape)
{
    String layout = kLayout;
    layout.replace(layout.find("OnClick = GoClick"), 17, "OnClick = Throwing");
    TTestForm form(Application, layout);
    RecordedMessages().clear();
    ::SendMessageW(form.Go->Handle(), BM_CLICK, 0, 0);
    form.foreignThrow = true;
    ::SendMessageW(form.Go->Handle(), BM_CLICK, 0, 0);
    // Any other exception is shown the same way, with an empty message.
    EXPECT_EQ(RecordedMessages(),
              (std::vector<RecordedMessage>{{MessageKind::Error, "handler failed"}, {MessageKind::Error, ""}}));
}

String NativeItemText(HWND tree, void* item)
{
    wchar_t text[1024] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_CHILDREN;
    query.hItem = static_cast<HTREEITEM>(item);
    query.pszText = text;
    query.cchTextMax = 1024;
    if (!item || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return "<no item>";
    return Narrow(text) + (query.cChildren ? " +" : "");
}

TEST(Form, NodesAddedToAShownTreeAppearWithTheirWholeText)
{
    TTestForm form(Application, kLayout);
    form.Show();
    HWND tree = form.Tree->Handle();
    // 230 characters, 29 of them outside the Basic Multilingual Plane: 259
    // UTF-16 units, as many as the platform's item text holds.
    String longText(201, 'x');
    for (int i = 0; i < 29; ++i)
        longText += "😀";
    TTreeNode* top = form.Tree->Items.AddObject(nullptr, "top", nullptr);
    EXPECT_EQ(NativeItemText(tree, top->NativeItem()), "top") << "a top-level node shows at once";
    TTreeNode* first = form.Tree->Items.AddChildObject(top, "first", nullptr);
    EXPECT_EQ(NativeItemText(tree, top->NativeItem()), "top +") << "its parent gains an expand button";
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top->NativeItem()));
    EXPECT_EQ(NativeItemText(tree, first->NativeItem()), "first");
    // Under an open node a new child shows at once, after its elder sibling.
    TTreeNode* late = form.Tree->Items.AddChildObject(top, longText, nullptr);
    EXPECT_EQ(NativeItemText(tree, late->NativeItem()), longText);
    EXPECT_EQ(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(first->NativeItem())),
              reinterpret_cast<LRESULT>(late->NativeItem()));
    // Under a closed one it shows when the node opens.
    TTreeNode* deeper = form.Tree->Items.AddChildObject(first, "deeper", nullptr);
    EXPECT_EQ(NativeItemText(tree, first->NativeItem()), "first +");
    form.Tree->SetSelected(deeper);
    EXPECT_EQ(NativeItemText(tree, deeper->NativeItem()), "deeper");
}

TEST(Form, AnExpandedTreeIsShownWholeWithItsScrollBarHoweverTheNodeWasOpened)
{
    TTestForm form(Application, kLayout);
    form.Show();
    TTreeView& tree = *form.Tree;
    HWND window = tree.Handle();
    constexpr int kChildren = 300;
    TTreeNode* byMessage = tree.Items.AddObject(nullptr, "by message", nullptr);
    TTreeNode* byKey = tree.Items.AddObject(nullptr, "by key", nullptr);
    for (TTreeNode* parent : {byMessage, byKey})
        for (int i = 0; i < kChildren; ++i)
            tree.Items.AddChildObject(parent, "child " + std::to_string(i), nullptr);
    // Shown, its scroll bar covering every row, and all of it to be drawn
    // by the next paint.
    auto expectShownWhole = [&](int rows, const char* how) {
        EXPECT_TRUE(::IsWindowVisible(window)) << how;
        SCROLLINFO bar{};
        bar.cbSize = sizeof bar;
        bar.fMask = SIF_RANGE;
        EXPECT_TRUE(::GetScrollInfo(window, SB_VERT, &bar)) << how;
        EXPECT_EQ(bar.nMax - bar.nMin + 1, rows) << how;
        RECT client{};
        RECT update{};
        ::GetClientRect(window, &client);
        EXPECT_TRUE(::GetUpdateRect(window, &update, FALSE)) << how;
        EXPECT_TRUE(::EqualRect(&update, &client)) << how;
        ::UpdateWindow(window);
    };
    ::UpdateWindow(window);
    ::SendMessageW(window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(byMessage->NativeItem()));
    EXPECT_TRUE(tree.IsExpanded(*byMessage));
    expectShownWhole(2 + kChildren, "opened by message");
    // As a user opens it: the node selected, then the right arrow key.
    tree.SetSelected(byKey);
    ::UpdateWindow(window);
    ::SendMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(tree.IsExpanded(*byKey));
    expectShownWhole(2 + 2 * kChildren, "opened by key");
}

TEST(Form, EditingATreeNodeInPlaceChangesItsText)
{
    TTestForm form(Application, kLayout);
    TTreeNode* node = form.Tree->Items.AddObject(nullptr, "before", nullptr);
    HWND edit = reinterpret_cast<HWND>(
        ::SendMessageW(form.Tree->Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->NativeItem())));
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(edit, L"고친 이름");
    ::SendMessageW(form.Tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_EQ(node->Text(), "고친 이름");
}

TEST(Form, EditingAListRowInPlaceChangesItsCaption)
{
    TTestForm form(Application, kLayout);
    form.List->Items.Add()->Caption = "row";
    ::SetFocus(form.List->Handle());
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(form.List->Handle(), LVM_EDITLABELW, 0, 0));
    ASSERT_NE(edit, nullptr);
    ::SetWindowTextW(edit, L"새 이름");
    ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(form.List->Items[0].Caption, "새 이름");
}

TEST(Form, TypingOnTheListSelectsTheFirstRowBeginningWithTheLetter)
{
    // The list keeps no rows of its own: the platform asks the form's model.
    const struct {
        wchar_t typed;
        int row; // -1: none begins with it, the selection stays
    } cases[] = {{L'b', 1}, {L'G', 4}, {L'가', 3}, {L'é', 5}, {L'z', -1}};
    for (const auto& c : cases) {
        TTestForm form(Application, kLayout);
        form.Show();
        ASSERT_TRUE(::GetWindowLongW(form.List->Handle(), GWL_STYLE) & LVS_OWNERDATA);
        for (const char* caption : {"alpha", "Beta", "beta2", "가나다", "gamma", "Élan"})
            form.List->Items.Add()->Caption = caption;
        ::SetFocus(form.List->Handle());
        // One key press: a repeat count of one.
        ::SendMessageW(form.List->Handle(), WM_CHAR, c.typed, 1);
        EXPECT_EQ(::SendMessageW(form.List->Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), c.row)
            << static_cast<int>(c.typed);
    }
}

TEST(Form, ShowModalReturnsWhenClosedAndReenablesTheOtherWindows)
{
    TTestForm owner(Application, kLayout);
    owner.Show();
    TTestForm dialog(Application, kLayout);
    ::PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(dialog.closes.size(), 1u);
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(::IsWindowVisible(dialog.Handle()));
}

void ExpectLayoutRefused(const String& from, const String& to, const char* why)
{
    String layout = kLayout;
    const std::size_t at = layout.find(from);
    ASSERT_NE(at, String::npos) << from;
    layout.replace(at, from.size(), to);
    try {
        TTestForm form(Application, layout);
        ADD_FAILURE() << "built although " << why;
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("layout line"), String::npos) << e.Message();
    }
}

TEST(Form, UnknownNamesFailLoudly)
{
    ExpectLayoutRefused("TPanel", "TFancyPanel", "the class is unknown");
    ExpectLayoutRefused("Caption = 'Go'", "Capton = 'Go'", "the property is misspelt");
    ExpectLayoutRefused("OnClick = GoClick", "OnClick = Missing", "the handler is not published");
    ExpectLayoutRefused("object Other: TButton", "object Stranger: TButton", "the control is not published");
    ExpectLayoutRefused("object Other: TButton", "object Other: TEdit", "the control has another class");
    ExpectLayoutRefused("OnCreate = Created", "OnCreate = Closing", "the handler has the wrong shape");
    ExpectLayoutRefused("Align = alClient", "Align = alMiddle", "the alignment is unknown");
    ExpectLayoutRefused("Cursor = crHSplit", "Images = Nowhere", "the component does not exist");
    ExpectLayoutRefused("object TestForm: TTestForm", "object TestForm: TOtherForm", "it is another form's");
}

TEST(Form, APublishedControlMissingFromTheLayoutIsAnError)
{
    String layout = kLayout;
    const std::size_t start = layout.find("    object Other: TButton");
    const std::size_t end = layout.find("    end\n", start) + 8;
    layout.erase(start, end - start);
    EXPECT_THROW(TTestForm(Application, layout), Exception);
}

// A form with one label and one list, fixed or filling the form.
class TFitForm : public TForm {
public:
    TFitForm(TComponent* owner, std::string_view layout) : TForm(owner) { BuildFromLayoutText(layout, Class()); }

    TLabel* Words = nullptr;
    TListBox* Rows = nullptr;

    static const FormClass& Class()
    {
        static const FormClass formClass{"TFitForm",
                                         {Published("Words", &TFitForm::Words), Published("Rows", &TFitForm::Rows)}};
        return formClass;
    }
};

struct FitLayout {
    int left;
    int top;
    int clientWidth;
    int clientHeight;
    bool aligned;
};

std::string FitLayoutText(const FitLayout& fit)
{
    const std::string rows =
        fit.aligned ? "    Align = alClient\n" : "    Left = 8\n    Top = 40\n    Width = 200\n    Height = 96\n";
    return "object FitForm: TFitForm\n  Left = " + std::to_string(fit.left) + "\n  Top = " + std::to_string(fit.top) +
           "\n  ClientWidth = " + std::to_string(fit.clientWidth) +
           "\n  ClientHeight = " + std::to_string(fit.clientHeight) +
           "\n  Font.Height = -16\n  object Words: TLabel\n    Left = 24\n    Top = 8\n    Width = 96\n    Height = "
           "20\n"
           "    Caption = '글자'\n  end\n  object Rows: TListBox\n" +
           rows + "  end\nend\n";
}

// A figure of 96 pixels per inch at `pixelsPerInch`, rounded half up.
int AtDensity(int value, int pixelsPerInch)
{
    return (value * pixelsPerInch + 48) / 96;
}

RECT WindowRect(HWND hwnd)
{
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

// Every window opens inside the work area of its monitor: one that fits
// keeps its place or moves as little as it can, an aligned one too large is
// cut to the work area, a fixed one is drawn smaller, never with text below
// 8 point.
TEST(Form, EveryFormOpensInsideTheWorkAreaOfItsMonitor)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT work = monitor.rcWork;
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    const platform::ScreenDc screen(::GetDC(nullptr));
    const int density = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, WS_EX_CONTROLPARENT);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    // Text of 16 pixels at 96 dpi, no less than 8 point (11 pixels at 96).
    int lowest = density;
    while (AtDensity(16, lowest - 1) >= std::min(AtDensity(16, density), AtDensity(11, density)))
        --lowest;
    // The reference: the largest density at which the client and frame fit.
    auto fitting = [&](int clientWidth, int clientHeight) {
        for (int pixelsPerInch = density; pixelsPerInch > lowest; --pixelsPerInch)
            if (AtDensity(clientWidth, pixelsPerInch) + frameWidth <= workWidth &&
                AtDensity(clientHeight, pixelsPerInch) + frameHeight <= workHeight)
                return pixelsPerInch;
        return lowest;
    };

    struct Case {
        const char* what;
        FitLayout layout;
    };
    const int right = work.right * 96 / density; // the work area's right at 96 dpi
    const int bottom = work.bottom * 96 / density;
    const Case cases[] = {
        {"fits where it is", {10, 12, 400, 300, false}},
        {"runs past the bottom right", {right - 100, bottom - 50, 400, 300, false}},
        {"aligned, taller than the work area", {10, 12, 400, workHeight * 96 / density + 300, true}},
        {"aligned, larger both ways", {0, 0, workWidth * 2, workHeight * 2, true}},
        {"fixed, a client as tall as the work area", {10, 12, 400, workHeight * 96 / density, false}},
        {"fixed, three times the work area's height", {10, 12, 400, workHeight * 3, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FitLayout& l = c.layout;
        TFitForm form(Application, FitLayoutText(l));
        const RECT outer = WindowRect(form.Handle());
        RECT client{};
        ::GetClientRect(form.Handle(), &client);
        const int designedWidth = AtDensity(l.clientWidth, density) + frameWidth;
        const int designedHeight = AtDensity(l.clientHeight, density) + frameHeight;
        const bool fits = designedWidth <= workWidth && designedHeight <= workHeight;
        const int pixelsPerInch = fits || l.aligned ? density : fitting(l.clientWidth, l.clientHeight);
        const bool readable = fits || l.aligned ||
                              (AtDensity(l.clientWidth, pixelsPerInch) + frameWidth <= workWidth &&
                               AtDensity(l.clientHeight, pixelsPerInch) + frameHeight <= workHeight);
        if (readable) {
            EXPECT_GE(outer.left, work.left);
            EXPECT_GE(outer.top, work.top);
            EXPECT_LE(outer.right, work.right);
            EXPECT_LE(outer.bottom, work.bottom);
        } else {
            EXPECT_EQ(outer.left, work.left) << "at the work area's top left";
            EXPECT_EQ(outer.top, work.top);
        }
        const int wantLeft = AtDensity(l.left, density);
        const int wantTop = AtDensity(l.top, density);
        if (fits && wantLeft + designedWidth <= work.right && wantTop + designedHeight <= work.bottom) {
            EXPECT_EQ(outer.left, wantLeft) << "a window that fits keeps its place";
            EXPECT_EQ(outer.top, wantTop);
        } else if (fits) {
            EXPECT_EQ(outer.right, std::min<LONG>(work.right, wantLeft + designedWidth)) << "moved as little as it can";
            EXPECT_EQ(outer.bottom, std::min<LONG>(work.bottom, wantTop + designedHeight));
        } else if (!l.aligned && readable) {
            EXPECT_EQ(outer.left, wantLeft) << "drawn smaller, it keeps the corner the density gives it where it can";
            EXPECT_EQ(outer.top, std::min<LONG>(wantTop, work.bottom - (outer.bottom - outer.top)));
        }
        if (l.aligned && !fits) {
            EXPECT_EQ(outer.bottom - outer.top, std::min(designedHeight, workHeight)) << "as tall as the work area";
            EXPECT_EQ(outer.right - outer.left, std::min(designedWidth, workWidth));
            EXPECT_EQ(BoundsInParent(form.Rows->Handle()).bottom, client.bottom) << "the list fills the rest";
        } else if (readable) {
            // One too large even so is cut by the platform to its largest tracking size.
            EXPECT_EQ(client.right, AtDensity(l.clientWidth, pixelsPerInch));
            EXPECT_EQ(client.bottom, AtDensity(l.clientHeight, pixelsPerInch));
        }
        if (!l.aligned) {
            const RECT rows = BoundsInParent(form.Rows->Handle());
            EXPECT_EQ(rows.left, AtDensity(8, pixelsPerInch)) << "every figure of the layout at one scale";
            EXPECT_EQ(rows.bottom, AtDensity(40, pixelsPerInch) + AtDensity(96, pixelsPerInch));
        }
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(form.Words->Handle(), WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        EXPECT_EQ(font.lfHeight, -AtDensity(16, pixelsPerInch));
        EXPECT_GE(-font.lfHeight, std::min(AtDensity(16, density), AtDensity(11, density))) << "never below 8 point";
    }
}

} // namespace
