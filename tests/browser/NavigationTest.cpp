// Tree clicks, double-clicks on rows and the address bar, on fixture
// folders of drive C, in-process with the real window.
#include "browser/SearchWindow.h"
#include "tests/support/Fixtures.h"
#include "tests/support/WindowQueries.h"
#include "tests/support/Input.h"
#include "tests/support/MessageRecorder.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

namespace {

const String kRoot = "C:\\tamsaek-nav\\";
constexpr char kRefused[] = "알맞은 경로가 아닙니다.";

int RowOf(const TListView& list, const String& caption)
{
    for (int i = 0; i < list.Items.Count(); ++i)
        if (list.Items[i].Caption == caption)
            return i;
    return -1;
}

class NavigationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A failure here must fail every test: an exception out of this
        // function would only mark them skipped.
        try {
            RemoveTree(kRoot);
            RemoveTree("C:\\tmp-tamsaek-nav");
            MakeFolder(kRoot);
            MakeFolder(kRoot + "MixedCase");
            MakeFolder(kRoot + "MixedCase\\Inner");
            MakeFolder(kRoot + ".dot");
            MakeFolder(kRoot + ".dot\\inside");
            MakeFolder(kRoot + "100%s폴더");
            MakeFolder(kRoot + "sibling");
            MakeFile(kRoot + "file.txt", 10);
            MakeFile(kRoot + "MixedCase\\inner.txt", 3);
            window_ = new TSearchWindow(Application);
            window_->Show();
        } catch (const std::exception& e) {
            setupError_ = e.what();
        }
    }

    static void TearDownTestSuite()
    {
        delete window_;
        window_ = nullptr;
        RemoveTree(kRoot);
    }

    void SetUp() override
    {
        if (!setupError_.empty() || !window_)
            FAIL() << "the window could not be built: " << setupError_;
        RecordedMessages().clear();
        // Every case starts from the fixture folder selected and listed.
        Jump(kRoot);
        ASSERT_EQ(Tree().Selected(), Fixture());
    }

    TSearchWindow& W() { return *window_; }
    TTreeView& Tree() { return *W().T_TREEVIEW_SEARCH; }
    TListView& List() { return *W().T_LISTVIEW_SEARCH; }
    TTreeNode* Fixture() { return Child(Tree().Items.GetFirstNode(), "tamsaek-nav"); }
    String Address() { return W().T_EDIT_SEARCH->Text(); }

    void Jump(const String& typed)
    {
        W().T_EDIT_SEARCH->SetText(typed);
        W().BTNSearch(W().T_BTN_SEARCH);
    }

    // A jump that must change nothing and show nothing.
    void ExpectIgnored(const String& typed)
    {
        TTreeNode* before = Tree().Selected();
        const int rows = List().Items.Count();
        Jump(typed);
        EXPECT_EQ(Tree().Selected(), before) << typed.substr(0, 80);
        EXPECT_EQ(List().Items.Count(), rows) << typed.substr(0, 80);
        EXPECT_EQ(Address(), typed) << "the typed text stays";
        EXPECT_TRUE(RecordedMessages().empty()) << typed.substr(0, 80);
    }

    // A jump refused with the message, the typed text kept.
    void ExpectRefused(const String& typed)
    {
        RecordedMessages().clear();
        TTreeNode* before = Tree().Selected();
        Jump(typed);
        ASSERT_EQ(RecordedMessages().size(), 1u) << typed.substr(0, 80);
        EXPECT_EQ(RecordedMessages()[0], (RecordedMessage{MessageKind::Message, kRefused}));
        EXPECT_EQ(Tree().Selected(), before);
        EXPECT_EQ(Address(), typed);
    }

    static inline TSearchWindow* window_ = nullptr;
    static inline String setupError_;
};

TEST_F(NavigationTest, TypedPathIsWalkedWithoutRegardToCaseAndShowsTheNodesPath)
{
    Jump("c:\\TAMSAEK-NAV\\mixedcase");
    TTreeNode* mixed = Child(Fixture(), "MixedCase");
    EXPECT_EQ(Tree().Selected(), mixed);
    EXPECT_EQ(Address(), kRoot + "MixedCase\\");
    EXPECT_NE(RowOf(List(), "Inner"), -1);
    EXPECT_NE(RowOf(List(), "inner.txt"), -1);
    EXPECT_TRUE(Tree().IsExpanded(*Fixture())) << "the tree reveals the node";

    Jump("C:\\tamsaek-nav\\MixedCase\\");
    EXPECT_EQ(Tree().Selected(), mixed);
    Jump("C:\\tamsaek-nav\\100%s폴더");
    EXPECT_EQ(Address(), kRoot + "100%s폴더\\");
}

TEST_F(NavigationTest, DriveAloneDoubledBackslashAndForwardSlashesSelectTheRoot)
{
    for (const char* typed : {"C:\\", "C:", "C:\\\\tamsaek-nav", "C:/tamsaek-nav", "c:"}) {
        Jump(kRoot);
        Jump(typed);
        EXPECT_EQ(Tree().Selected(), Tree().Items.GetFirstNode()) << typed;
        EXPECT_EQ(Address(), "C:\\") << typed;
        EXPECT_NE(RowOf(List(), "tamsaek-nav"), -1) << typed;
    }
}

TEST_F(NavigationTest, AnotherDrivesPathIsWalkedInTheTreeOfDriveC)
{
    // Z: is the host's root under Wine; /tmp exists there.
    if (!DirectoryExists("Z:\\tmp"))
        GTEST_SKIP() << "no second drive with a tmp folder";
    MakeFolder("C:\\tmp-tamsaek-nav");
    ExpectIgnored("Z:\\tmp") ;
    RemoveTree("C:\\tmp-tamsaek-nav");
    // A folder that exists on both drives is found in C's tree.
    Jump("Z:\\tamsaek-nav");
    if (DirectoryExists("Z:\\tamsaek-nav")) {
        EXPECT_EQ(Tree().Selected(), Fixture());
    }
}

TEST_F(NavigationTest, FoldersWithoutANodeAreUnreachableAndSayNothing)
{
    ExpectIgnored(kRoot + ".dot");
    ExpectIgnored(kRoot + ".dot\\inside");
    MakeFolder(kRoot + "created-later");
    ExpectIgnored(kRoot + "created-later");
    RemoveTree(kRoot + "created-later");
}

TEST_F(NavigationTest, APathThatIsNoFolderIsRefusedWithTheMessage)
{
    ExpectRefused(kRoot + "missing");
    ExpectRefused(kRoot + "file.txt");
    ExpectRefused("");
    ExpectRefused("nowhere at all");
}

TEST_F(NavigationTest, HostileTypedTextsGetTheirDefinedOutcome)
{
    ExpectRefused(String(100'000, 'a'));
    ExpectRefused("C:\\" + String(100'000, 'b'));
    ExpectRefused("\t\x01\x1f");
    ExpectRefused("\\\\no-such-server\\share");
    ExpectRefused("CON");
    ExpectRefused("NUL");
    ExpectRefused("C:\\tamsaek-nav\\%s%n%x%p");

    // Existing folders whose walk ends at the root or nowhere.
    Jump(String(20, '\\'));
    if (RecordedMessages().empty()) {
        EXPECT_EQ(Tree().Selected(), Tree().Items.GetFirstNode());
    }
    RecordedMessages().clear();
    Jump("\\\\?\\C:\\tamsaek-nav");
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(Tree().Selected(), Tree().Items.GetFirstNode()) << "the empty component after \\\\ ends the walk";

    Jump(kRoot);
    if (DirectoryExists(kRoot + "MixedCase  ")) {
        ExpectIgnored(kRoot + "MixedCase  ");
    }
    if (DirectoryExists(kRoot + "MixedCase..")) {
        ExpectIgnored(kRoot + "MixedCase..");
    }
}

TEST_F(NavigationTest, EnterInTheAddressBarDoesNothing)
{
    W().T_EDIT_SEARCH->SetText(kRoot + "MixedCase");
    ::SetFocus(W().T_EDIT_SEARCH->Handle());
    MSG enter{W().T_EDIT_SEARCH->Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    if (!::IsDialogMessageW(W().Handle(), &enter))
        ::DispatchMessageW(&enter);
    ProcessMessages();
    EXPECT_EQ(Tree().Selected(), Fixture());
    EXPECT_EQ(Address(), kRoot + "MixedCase");
}

TEST_F(NavigationTest, DoubleClickOnAFolderRowDescendsAndOnAFileRowDoesNothing)
{
    List().SetSelectedIndex(RowOf(List(), "file.txt"));
    W().ActionListView(&List());
    EXPECT_EQ(Tree().Selected(), Fixture());
    EXPECT_EQ(Address(), kRoot);

    List().SetSelectedIndex(RowOf(List(), "MixedCase"));
    W().ActionListView(&List());
    TTreeNode* mixed = Child(Fixture(), "MixedCase");
    EXPECT_EQ(Tree().Selected(), mixed);
    EXPECT_NE(mixed->NativeItem(), nullptr);
    EXPECT_EQ(Address(), kRoot + "MixedCase\\");
    EXPECT_NE(RowOf(List(), "inner.txt"), -1);

    List().SetSelectedIndex(-1);
    W().ActionListView(&List());
    EXPECT_EQ(Tree().Selected(), mixed) << "no selected row, nothing happens";
}

TEST_F(NavigationTest, DoubleClickJoinsTheAddressBarAsEditedAndTheRowAsNamed)
{
    // An edited address bar that does not join into a folder: nothing happens.
    W().T_EDIT_SEARCH->SetText("C:\\elsewhere\\");
    List().SetSelectedIndex(RowOf(List(), "MixedCase"));
    W().ActionListView(&List());
    EXPECT_EQ(Tree().Selected(), Fixture());
    EXPECT_EQ(Address(), "C:\\elsewhere\\");

    // A folder created after start-up has no node: the selected folder is listed again.
    MakeFolder(kRoot + "fresh");
    Jump(kRoot);
    const int fresh = RowOf(List(), "fresh");
    ASSERT_NE(fresh, -1);
    W().T_EDIT_SEARCH->SetText("typed over");
    List().SetSelectedIndex(fresh);
    W().T_EDIT_SEARCH->SetText(kRoot);
    W().ActionListView(&List());
    EXPECT_EQ(Tree().Selected(), Fixture());
    EXPECT_EQ(Address(), kRoot);
    RemoveTree(kRoot + "fresh");

    // A row renamed in place to another folder's name behaves as that entry.
    Jump(kRoot);
    const int row = RowOf(List(), "MixedCase");
    List().Items[row].Caption = "sibling";
    List().SetSelectedIndex(row);
    W().ActionListView(&List());
    EXPECT_EQ(Tree().Selected(), Child(Fixture(), "sibling"));
}

TEST_F(NavigationTest, AnEditedNodeTextTakesPartInTheWalk)
{
    // The typed path must exist; the walk then sees the nodes' edited texts.
    TTreeNode* sibling = Child(Fixture(), "sibling");
    TTreeNode* mixed = Child(Fixture(), "MixedCase");
    sibling->SetText("MixedCase");
    mixed->SetText("edited");
    ExpectIgnored(kRoot + "sibling");
    Jump(kRoot + "mixedcase");
    EXPECT_EQ(Tree().Selected(), sibling);
    EXPECT_EQ(Address(), kRoot + "sibling\\") << "the folder listed is still the node's own";
    sibling->SetText("sibling");
    mixed->SetText("MixedCase");
}

TEST_F(NavigationTest, ClicksWithoutASelectedNodeDoNothing)
{
    Tree().SetSelected(nullptr);
    const std::vector<String> before = {Address()};
    W().ShowTest(&Tree());
    List().SetSelectedIndex(0);
    W().ActionListView(&List());
    EXPECT_EQ(Address(), before[0]);
    EXPECT_EQ(Tree().Selected(), nullptr);
}

TEST_F(NavigationTest, ARealMouseClickListsTheNodeUnderIt)
{
    TTreeNode* mixed = Child(Fixture(), "MixedCase");
    TTreeNode* sibling = Child(Fixture(), "sibling");
    // Opening the fixture folder as a user would creates its children's items.
    ::SendMessageW(Tree().Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Fixture()->NativeItem()));
    ASSERT_NE(sibling->NativeItem(), nullptr);
    ASSERT_NE(mixed->NativeItem(), nullptr);
    ::SetForegroundWindow(W().Handle());

    auto clickNode = [&](TTreeNode* node, bool twice) {
        RECT item{};
        HTREEITEM handle = static_cast<HTREEITEM>(node->NativeItem());
        std::memcpy(&item, &handle, sizeof handle);
        ASSERT_TRUE(::SendMessageW(Tree().Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item)));
        ClickAt(Tree().Handle(), {(item.left + item.right) / 2, (item.top + item.bottom) / 2}, twice);
    };
    // The first click on a node that was not selected lists that node.
    clickNode(mixed, false);
    EXPECT_TRUE(PumpUntil([&] { return Address() == kRoot + "MixedCase\\"; })) << Address();
    EXPECT_EQ(Tree().Selected(), mixed);

    // A later click on the node already selected lists it again (a quick
    // second click would be a double-click).
    W().T_EDIT_SEARCH->SetText("changed");
    ::Sleep(::GetDoubleClickTime() + 100);
    clickNode(mixed, false);
    EXPECT_TRUE(PumpUntil([&] { return Address() == kRoot + "MixedCase\\"; })) << Address();

    // The keyboard moves the selection, not the list.
    ::SetFocus(Tree().Handle());
    ::SendMessageW(Tree().Handle(), WM_KEYDOWN, VK_UP, 0);
    ProcessMessages();
    EXPECT_NE(Tree().Selected(), mixed);
    EXPECT_EQ(Address(), kRoot + "MixedCase\\");

    // A real double-click on a folder row descends into it.
    Jump(kRoot);
    ::Sleep(::GetDoubleClickTime() + 100);
    const int row = RowOf(List(), "MixedCase");
    RECT rect{LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(::SendMessageW(List().Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)));
    ClickAt(List().Handle(), {rect.left + 10, (rect.top + rect.bottom) / 2}, true);
    EXPECT_TRUE(PumpUntil([&] { return Tree().Selected() == mixed; }));
    EXPECT_EQ(Address(), kRoot + "MixedCase\\");
}

} // namespace
