// The folder browser window built in-process on the test prefix's drive C,
// with fixture folders made before the window walks the drive.
#include "browser/SearchWindow.h"

#include "base/WideText.h"
#include "platform/UniqueHandle.h"
#include "tests/support/DebugOutputCapture.h"
#include "tests/support/Fixtures.h"
#include "tests/support/LinkLoopChecks.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/WindowQueries.h"
#include "ui/Application.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const String kFixture = "C:\\tamsaek-fixture\\";
const String kFiles = kFixture + "files\\";
const String kLongSegment(50, 'L');

String LongChainPath()
{
    String path = kFixture + "long\\";
    for (int i = 0; i < 6; ++i)
        path += kLongSegment + "\\";
    return path;
}

SYSTEMTIME LocalTime(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s)
{
    SYSTEMTIME t{};
    t.wYear = y;
    t.wMonth = mo;
    t.wDay = d;
    t.wHour = h;
    t.wMinute = mi;
    t.wSecond = s;
    return t;
}

// Follows a path of node texts from the root.
TTreeNode* NodeAt(TSearchWindow& window, std::initializer_list<String> texts)
{
    TTreeNode* node = window.T_TREEVIEW_SEARCH->Items.GetFirstNode();
    for (const String& text : texts)
        node = Child(node, text);
    return node;
}

RECT ClientBounds(const TControl& control)
{
    RECT rect;
    ::GetWindowRect(control.Handle(), &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control.Handle()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

String NativeText(HWND hwnd)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return Narrow(text);
}

class SearchWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A failure here must fail every test: an exception out of this
        // function would only mark them skipped.
        try {
            RemoveTree(kFixture);
            MakeFolder(kFixture);
            MakeFolder(kFixture + "Top");
            MakeFolder(kFixture + "Top\\Sub");
            MakeFolder(kFixture + ".config");
            MakeFolder(kFixture + ".config\\inner");
            MakeFolder(kFixture + "hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
            MakeFolder(kFixture + "empty");
            MakeFolder(kFixture + "order");
            for (const char* name : {"m", "b", "zz", "a", "Q", "k9", "c", "y", "e", "0"})
                MakeFolder(kFixture + "order\\" + name);
            MakeFolder(kFixture + "한글폴더");
            MakeFolder(kFixture + "한글폴더\\😀이모지");
            MakeFolder(kFiles);
            MakeFolder(kFiles + "folder");
            MakeFolder(kFiles + ".hiddenfolder");
            MakeFile(kFiles + "readme.txt", 1234, LocalTime(2006, 5, 9, 14, 3, 7));
            MakeFile(kFiles + "empty.bin", 0);
            MakeFile(kFiles + "100%s.txt", 7);
            MakeFile(kFiles + ".profile", 3);
            MakeFile(kFiles + "big.bin", 5'368'709'120ull);
            String chain = kFixture + "long\\";
            MakeFolder(chain);
            for (int i = 0; i < 6; ++i)
                MakeFolder(chain += kLongSegment + "\\");
            MakeFile(chain + "deep.txt", 5);

            RecordedMessages().clear();
            window_ = new TSearchWindow(Application);
        } catch (const std::exception& e) {
            setupError_ = e.what();
        }
    }

    static void TearDownTestSuite()
    {
        delete window_;
        window_ = nullptr;
        RemoveTree(kFixture);
    }

    void SetUp() override
    {
        if (!setupError_.empty() || !window_)
            FAIL() << "the window could not be built: " << setupError_;
    }

    TSearchWindow& Window() { return *window_; }

    static inline TSearchWindow* window_ = nullptr;
    static inline String setupError_;
};

TEST_F(SearchWindowTest, StartsWithTheRootNodeTheRootListedAndNoMessage)
{
    // A window of its own: the other cases move the shared one about.
    RecordedMessages().clear();
    const std::unique_ptr<TSearchWindow> window = std::make_unique<TSearchWindow>(Application);
    EXPECT_TRUE(RecordedMessages().empty());
    TTreeView& tree = *window->T_TREEVIEW_SEARCH;
    TTreeNode* root = tree.Items.GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getNextSibling(), nullptr) << "one top-level node";
    EXPECT_EQ(root->Text(), "C 드라이브");
    EXPECT_EQ(PathOf(root), "C:\\");
    EXPECT_FALSE(tree.IsExpanded(*root));
    EXPECT_NE(root->NativeItem(), nullptr);
    EXPECT_EQ(window->T_EDIT_SEARCH->Text(), "C:\\");
    EXPECT_EQ(window->StatusBar1->PanelText(0), "파일갯수");
    EXPECT_EQ(Captions(*window->T_LISTVIEW_SEARCH), [] {
        std::vector<String> names = SearchNames("C:\\", false);
        names.erase(std::remove_if(names.begin(), names.end(), [](const String& n) { return n[0] == '.'; }),
                    names.end());
        return names;
    }());
}

// Compares the nodes below `node`, all the way down, with the folders the
// platform's search lists below `path`, in its order.
void ExpectFoldersBelow(const TTreeNode* node, const String& path)
{
    std::vector<String> folders = SearchNames(path, true);
    folders.erase(std::remove_if(folders.begin(), folders.end(), [](const String& n) { return n[0] == '.'; }),
                  folders.end());
    ASSERT_EQ(ChildTexts(node), folders) << path;
    const TTreeNode* child = node->getFirstChild();
    for (const String& name : folders) {
        EXPECT_EQ(PathOf(child), path + name + "\\");
        ExpectFoldersBelow(child, path + name + "\\");
        child = child->getNextSibling();
    }
}

TEST_F(SearchWindowTest, TreeHoldsEveryFolderWithItsFullPath)
{
    TTreeNode* fixture = NodeAt(Window(), {"tamsaek-fixture"});
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(PathOf(fixture), kFixture);
    ExpectFoldersBelow(fixture, kFixture);
    EXPECT_NE(NodeAt(Window(), {"tamsaek-fixture", "hidden"}), nullptr) << "hidden and system folders are taken";
    EXPECT_EQ(NodeAt(Window(), {"tamsaek-fixture", ".config"}), nullptr);
    EXPECT_NE(NodeAt(Window(), {"tamsaek-fixture", "long", kLongSegment, kLongSegment}), nullptr);
}

TEST_F(SearchWindowTest, NamesOutsideTheKoreanCodePageAndLongPathsAreReached)
{
    TTreeNode* emoji = NodeAt(Window(), {"tamsaek-fixture", "한글폴더", "😀이모지"});
    ASSERT_NE(emoji, nullptr);
    EXPECT_EQ(PathOf(emoji), "C:\\tamsaek-fixture\\한글폴더\\😀이모지\\");

    TTreeNode* deepest = NodeAt(Window(), {"tamsaek-fixture", "long"});
    for (int i = 0; i < 6 && deepest; ++i)
        deepest = Child(deepest, kLongSegment);
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(PathOf(deepest), LongChainPath());
    EXPECT_GT(LongChainPath().size(), 300u);
    Window().ListFolder(PathOf(deepest));
    EXPECT_EQ(Captions(*Window().T_LISTVIEW_SEARCH), std::vector<String>{"deep.txt"});
}

TEST_F(SearchWindowTest, LinksLeadingBackToAnAncestorKeepTheirNodeWithoutChildren)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "the links are made on the Linux side of the Wine prefix";
    TTreeNode* loop = NodeAt(Window(), {"tamsaek-links", "loop"});
    EXPECT_EQ(PathOf(loop), "C:\\tamsaek-links\\loop\\");
    ExpectLinksBackToAncestorsKeepNodesWithoutChildren(loop);
}

TEST_F(SearchWindowTest, NativeItemsAreCreatedOnlyWhereTheTreeIsShown)
{
    TTreeView& tree = *Window().T_TREEVIEW_SEARCH;
    TTreeNode* sub = NodeAt(Window(), {"tamsaek-fixture", "Top", "Sub"});
    TTreeNode* top = sub->Parent();
    EXPECT_EQ(tree.Items.GetFirstNode()->getFirstChild()->NativeItem(), nullptr);

    tree.SetSelected(sub);
    EXPECT_EQ(tree.Selected(), sub);
    EXPECT_NE(sub->NativeItem(), nullptr);
    EXPECT_TRUE(tree.IsExpanded(*top));
    EXPECT_TRUE(tree.IsExpanded(*tree.Items.GetFirstNode()));
    // Only the children of the opened folders got items.
    EXPECT_EQ(NodeAt(Window(), {"tamsaek-fixture", "order", "a"})->NativeItem(), nullptr);
    tree.SetSelected(nullptr);
    EXPECT_EQ(tree.Selected(), nullptr);
}

TEST_F(SearchWindowTest, EveryRecordIsReleasedOnceWhetherOrNotTheWindowWasClosed)
{
    for (const int closings : {0, 1, 2}) {
        SCOPED_TRACE(std::to_string(closings) + " closings before the window goes");
        const long createdBefore = TTreeDataSearch::Created();
        const long releasedBefore = TTreeDataSearch::Released();
        auto* window = new TSearchWindow(Application);
        const long nodes = static_cast<long>(window->T_TREEVIEW_SEARCH->Items.Count());
        EXPECT_GT(nodes, 20);
        EXPECT_EQ(TTreeDataSearch::Created() - createdBefore, nodes);
        for (int i = 0; i < closings; ++i) {
            TCloseAction action = caHide;
            window->CloseSearch(window, action);
            EXPECT_EQ(TTreeDataSearch::Released() - releasedBefore, nodes);
            EXPECT_EQ(PathOf(NodeAt(*window, {"tamsaek-fixture", "Top"})), "<none>");
        }
        if (closings == 0) {
            EXPECT_EQ(TTreeDataSearch::Released(), releasedBefore);
        }
        delete window;
        EXPECT_EQ(TTreeDataSearch::Released() - releasedBefore, nodes);
    }
}

TEST_F(SearchWindowTest, ListShowsEntriesInSearchOrderWithTheirColumns)
{
    TListView& list = *Window().T_LISTVIEW_SEARCH;
    Window().ListFolder(kFiles);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), kFiles);

    std::vector<String> expected = SearchNames(kFiles, false);
    expected.erase(std::remove_if(expected.begin(), expected.end(), [](const String& n) { return n[0] == '.'; }),
                   expected.end());
    ASSERT_EQ(Captions(list), expected);
    EXPECT_EQ(::SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(expected.size()));

    for (int i = 0; i < list.Items.Count(); ++i) {
        const TListItem& row = list.Items[i];
        ASSERT_EQ(row.SubItems.size(), 3u) << row.Caption;
        EXPECT_EQ(row.SubItems[2], "") << "the attribute column stays empty";
        EXPECT_EQ(row.SubItems[1].size(), 19u) << row.SubItems[1];
        if (row.Caption == "folder") {
            EXPECT_EQ(row.ImageIndex, 0);
            EXPECT_EQ(row.SubItems[0], " ");
        } else {
            EXPECT_EQ(row.ImageIndex, 1) << row.Caption;
        }
        if (row.Caption == "readme.txt") {
            EXPECT_EQ(row.SubItems[0], "1234");
            EXPECT_EQ(row.SubItems[1], "2006-09-05 14:03:07");
        }
        if (row.Caption == "big.bin") {
            EXPECT_EQ(row.SubItems[0], "5368709120");
        }
        if (row.Caption == "empty.bin") {
            EXPECT_EQ(row.SubItems[0], "0");
        }
    }
    EXPECT_NE(std::find(expected.begin(), expected.end(), "100%s.txt"), expected.end());

    // The native control shows the same texts.
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 64;
    const int readme = static_cast<int>(std::find(expected.begin(), expected.end(), "readme.txt") - expected.begin());
    ::SendMessageW(list.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(readme), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Narrow(text), "1234");
    EXPECT_EQ(Window().StatusBar1->PanelText(0), "파일갯수");
}

TEST_F(SearchWindowTest, ListingTwiceGivesTheSameRowsAndAPathWithoutBackslashWorks)
{
    Window().ListFolder(kFiles);
    const std::vector<String> first = Captions(*Window().T_LISTVIEW_SEARCH);
    const String withoutBackslash = kFiles.substr(0, kFiles.size() - 1);
    Window().ListFolder(withoutBackslash);
    EXPECT_EQ(Captions(*Window().T_LISTVIEW_SEARCH), first);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), withoutBackslash);
}

TEST_F(SearchWindowTest, AFolderThatCannotBeSearchedLeavesTheListEmptyAndSaysNothing)
{
    RecordedMessages().clear();
    Window().ListFolder(kFiles);
    const String missing = kFixture + "no such folder\\";
    Window().ListFolder(missing);
    EXPECT_EQ(Window().T_LISTVIEW_SEARCH->Items.Count(), 0);
    EXPECT_EQ(::SendMessageW(Window().T_LISTVIEW_SEARCH->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), missing);
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(SearchWindowTest, EveryListedEntrySendsOneTraceLine)
{
    DebugOutputCapture capture;
    ASSERT_TRUE(capture.Listening());
    Window().ListFolder(kFiles);
    Window().DrainTrace();
    const std::vector<String> lines = capture.Lines();
    const TListView& list = *Window().T_LISTVIEW_SEARCH;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(list.Items.Count()));
    for (int i = 0; i < list.Items.Count(); ++i)
        EXPECT_EQ(
            lines[static_cast<std::size_t>(i)].rfind("file name : [" + list.Items[i].Caption + "], file_size[", 0), 0u)
            << lines[static_cast<std::size_t>(i)];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file name : [readme.txt], file_size[1234]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file name : [big.bin], file_size[5368709120]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file name : [100%s.txt], file_size[7]"), lines.end());
}

TEST_F(SearchWindowTest, LayoutIsLoadedAsStored)
{
    TSearchWindow& w = Window();
    EXPECT_EQ(NativeText(w.Handle()), "윈도우탐색기");
    RECT client;
    ::GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, 973);
    EXPECT_EQ(client.bottom, 699);

    const RECT panel = ClientBounds(*w.Panel1);
    EXPECT_EQ(panel.left, 0);
    EXPECT_EQ(panel.top, 0);
    EXPECT_EQ(panel.right, 973);
    EXPECT_EQ(panel.bottom, 23);
    const RECT tree = ClientBounds(*w.T_TREEVIEW_SEARCH);
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, 23);
    EXPECT_EQ(tree.right, 400);
    EXPECT_EQ(tree.bottom, 680);
    const RECT splitter = ClientBounds(*w.T_CENBAR);
    EXPECT_EQ(splitter.left, 400);
    EXPECT_EQ(splitter.right, 405);
    const RECT list = ClientBounds(*w.T_LISTVIEW_SEARCH);
    EXPECT_EQ(list.left, 405);
    EXPECT_EQ(list.right, 973);
    EXPECT_EQ(list.bottom, 680);
    const RECT status = ClientBounds(*w.StatusBar1);
    EXPECT_EQ(status.top, 680);
    EXPECT_EQ(status.bottom, 699);
    const RECT edit = ClientBounds(*w.T_EDIT_SEARCH);
    EXPECT_EQ(edit.left, 72);
    EXPECT_EQ(edit.right, 745);

    EXPECT_EQ(NativeText(w.T_LABEL_SEARCH->Handle()), "주소창  :  ");
    EXPECT_EQ(NativeText(w.T_BTN_SEARCH->Handle()), "바로가기");
    EXPECT_EQ(NativeText(w.Button1->Handle()), "시스템정보");
    const LONG labelStyle = ::GetWindowLongW(w.T_LABEL_SEARCH->Handle(), GWL_STYLE);
    EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_CENTER);
    EXPECT_TRUE(labelStyle & SS_CENTERIMAGE);

    // The tree draws in the window's font, with the quality the system's
    // smoothing gives a font left at the default named outright.
    LOGFONTW windowFont{};
    LOGFONTW treeFont{};
    ASSERT_TRUE(::GetObjectW(w.FontHandle(), sizeof windowFont, &windowFont));
    ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(w.T_TREEVIEW_SEARCH->Handle(), WM_GETFONT, 0, 0)),
                             sizeof treeFont, &treeFont));
    EXPECT_EQ(Narrow(treeFont.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(treeFont.lfHeight, -11);
    EXPECT_EQ(treeFont.lfWeight, windowFont.lfWeight);
    EXPECT_EQ(treeFont.lfCharSet, windowFont.lfCharSet);
    EXPECT_EQ(windowFont.lfQuality, DEFAULT_QUALITY);
    BOOL smoothing = FALSE;
    UINT smoothingType = 0;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0));
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &smoothingType, 0));
    EXPECT_EQ(treeFont.lfQuality, !smoothing                                   ? NONANTIALIASED_QUALITY
                                  : smoothingType == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY
                                                                               : ANTIALIASED_QUALITY);

    struct Column {
        const char* caption;
        int width;
        int format;
    };
    const Column columns[] = {{"이름", 150, LVCFMT_LEFT},
                              {"크기", 100, LVCFMT_RIGHT},
                              {"수정날짜", 120, LVCFMT_LEFT},
                              {"속성", 50, LVCFMT_LEFT}};
    for (int i = 0; i < 4; ++i) {
        wchar_t caption[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = caption;
        column.cchTextMax = 32;
        ASSERT_TRUE(
            ::SendMessageW(w.T_LISTVIEW_SEARCH->Handle(), LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(Narrow(caption), columns[i].caption);
        EXPECT_EQ(column.cx, columns[i].width);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format);
    }
    EXPECT_EQ(::GetWindowLongW(w.T_LISTVIEW_SEARCH->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);

    // The tree keeps its selection visible and shows picture 0 of the image list.
    EXPECT_TRUE(::GetWindowLongW(w.T_TREEVIEW_SEARCH->Handle(), GWL_STYLE) & TVS_SHOWSELALWAYS);
    EXPECT_EQ(::SendMessageW(w.T_TREEVIEW_SEARCH->Handle(), TVM_GETINDENT, 0, 0), 19);
    HIMAGELIST images = w.T_ICON_SEARCH->Handle();
    EXPECT_EQ(
        reinterpret_cast<HIMAGELIST>(::SendMessageW(w.T_TREEVIEW_SEARCH->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
        images);
    EXPECT_EQ(
        reinterpret_cast<HIMAGELIST>(::SendMessageW(w.T_LISTVIEW_SEARCH->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
        images);
    EXPECT_EQ(::ImageList_GetImageCount(images), 2);
    EXPECT_EQ(::ImageList_GetBkColor(images), 14811135u);
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    // Tab order: the tree, the list, then the panel with the edit and both buttons.
    HWND first = ::GetWindow(w.Handle(), GW_CHILD);
    EXPECT_EQ(first, w.T_TREEVIEW_SEARCH->Handle());
    EXPECT_EQ(::GetWindow(first, GW_HWNDNEXT), w.T_LISTVIEW_SEARCH->Handle());
    EXPECT_EQ(::GetWindow(::GetWindow(first, GW_HWNDNEXT), GW_HWNDNEXT), w.Panel1->Handle());
    HWND inPanel = ::GetWindow(w.Panel1->Handle(), GW_CHILD);
    EXPECT_EQ(inPanel, w.T_EDIT_SEARCH->Handle());
    EXPECT_EQ(::GetWindow(inPanel, GW_HWNDNEXT), w.T_BTN_SEARCH->Handle());
}

// What `dc` holds in the given square, row by row.
std::vector<COLORREF> Pixels(HDC dc, int left, int top, int width, int height)
{
    std::vector<COLORREF> pixels;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            pixels.push_back(::GetPixel(dc, x, y));
    return pixels;
}

TEST_F(SearchWindowTest, TreeRowsShowTheFolderPictureJustBeforeTheirTextSelectedOrNot)
{
    TTreeView& tree = *Window().T_TREEVIEW_SEARCH;
    TTreeNode* root = tree.Items.GetFirstNode();
    ASSERT_NE(root, nullptr);
    HIMAGELIST images = Window().T_ICON_SEARCH->Handle();
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images, &cx, &cy));
    RECT client{};
    ::GetClientRect(tree.Handle(), &client);

    HDC screen = ::GetDC(nullptr);
    platform::Bitmap expectedBitmap(::CreateCompatibleBitmap(screen, cx, cy));
    platform::Bitmap paintedBitmap(::CreateCompatibleBitmap(screen, client.right, client.bottom));
    platform::MemoryDc expected(::CreateCompatibleDC(screen));
    platform::MemoryDc painted(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(expectedBitmap && paintedBitmap && expected && painted);
    ::SelectObject(expected.Get(), expectedBitmap.Get());
    ::SelectObject(painted.Get(), paintedBitmap.Get());

    // The first picture as the image list itself draws it, see-through,
    // over the tree's background.
    const RECT square{0, 0, cx, cy};
    ::FillRect(expected.Get(), &square, ::GetSysColorBrush(COLOR_WINDOW));
    ASSERT_TRUE(::ImageList_DrawEx(images, 0, expected.Get(), 0, 0, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT));
    const std::vector<COLORREF> picture = Pixels(expected.Get(), 0, 0, cx, cy);
    ASSERT_NE(std::count(picture.begin(), picture.end(), ::GetSysColor(COLOR_WINDOW)), cx * cy) << "a blank picture";

    // What the tree paints is read back from the screen.
    const bool shownBefore = ::IsWindowVisible(Window().Handle());
    ::ShowWindow(Window().Handle(), SW_SHOWNOACTIVATE);
    TTreeNode* const selectedBefore = tree.Selected();
    for (TTreeNode* selected : {root, static_cast<TTreeNode*>(nullptr)}) {
        tree.SetSelected(selected);
        ::RedrawWindow(tree.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC window = ::GetDC(tree.Handle());
        ::BitBlt(painted.Get(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
        ::ReleaseDC(tree.Handle(), window);
        RECT text{};
        const auto item = static_cast<HTREEITEM>(root->NativeItem());
        std::memcpy(&text, &item, sizeof item);
        ASSERT_TRUE(::SendMessageW(tree.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
        // Just left of the text, centred on the row; a picture taller than
        // the row may reach past the client area.
        const int top = (text.top + text.bottom) / 2 - cy / 2;
        const int hidden = std::max(0, -top);
        EXPECT_EQ(Pixels(painted.Get(), text.left - cx, top + hidden, cx, cy - hidden),
                  std::vector<COLORREF>(picture.begin() + hidden * cx, picture.end()))
            << (selected ? "selected" : "not selected");
    }
    tree.SetSelected(selectedBefore);
    if (!shownBefore)
        ::ShowWindow(Window().Handle(), SW_HIDE);
}

} // namespace
