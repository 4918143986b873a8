// Tree clicks, double-clicks on rows and the address bar, on fixture
// folders of drive C, in-process with the real window.
#include "base/WideText.h"
#include "browser/SearchWindow.h"
#include "platform/SysUtils.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Input.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/WindowQueries.h"
#include "ui/Application.h"

#include <commctrl.h>

#include <cstring>
#include <gtest/gtest.h>

namespace {

const String kRoot = "C:\\tamsaek-nav\\";
constexpr char kRefused[] = "알맞은 경로가 아닙니다.";
// Under Wine drive Z is the host's root: a folder below its tmp folder and
// one of the same path on drive C.
const String kOnBoth = "tmp\\tamsaek-nav-both";
const String kOnZOnly = "tmp\\tamsaek-nav-z-only";
// Names whose letters have a case beyond ASCII, and one without case.
const String kAccented = "Éclair";
const String kFullWidth = "ＦｕｌｌＷｉｄｔｈ";
const String kHangul = "한글만";

// What the platform answers, not the program's own helper.
bool IsFolder(const String& path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

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
            madeTmp_ = !IsFolder("C:\\tmp");
            MakeFolder("C:\\tmp");
            MakeFolder("C:\\" + kOnBoth);
            if (RunningUnderWine()) {
                MakeFolder("Z:\\" + kOnBoth);
                MakeFolder("Z:\\" + kOnZOnly);
            }
            MakeFolder(kRoot);
            for (const String& name : {kAccented, kFullWidth, kHangul})
                MakeFolder(kRoot + name);
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
        RemoveTree(madeTmp_ ? String("C:\\tmp") : "C:\\" + kOnBoth);
        if (RunningUnderWine()) {
            RemoveTree("Z:\\" + kOnBoth);
            RemoveTree("Z:\\" + kOnZOnly);
        }
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
    static inline bool madeTmp_ = false;
};

// Puts a node's text back however the test ends.
class TextRestorer {
public:
    explicit TextRestorer(TTreeNode* node) : node_(node), text_(node ? node->Text() : String()) {}
    ~TextRestorer()
    {
        if (node_)
            node_->SetText(text_);
    }
    TextRestorer(const TextRestorer&) = delete;
    TextRestorer& operator=(const TextRestorer&) = delete;

private:
    TTreeNode* node_;
    String text_;
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

TEST_F(NavigationTest, LettersBeyondAsciiAreMatchedWithoutRegardToCase)
{
    // Typed in the other case where the letters have one; the folder must
    // exist as typed, which the platform's own case folding decides.
    const struct {
        String name;
        String typed;
    } cases[] = {
        {kAccented, "éCLAIR"},
        {kFullWidth, "ｆｕｌｌｗｉｄｔｈ"},
        {kHangul, kHangul},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(IsFolder(kRoot + c.typed)) << c.typed;
        Jump(kRoot);
        Jump(kRoot + c.typed);
        EXPECT_EQ(Tree().Selected(), Child(Fixture(), c.name)) << c.typed;
        EXPECT_EQ(Address(), kRoot + c.name + "\\") << c.typed;
        EXPECT_TRUE(RecordedMessages().empty());
    }
}

TEST_F(NavigationTest, OfTwoSiblingsThatCompareEqualTheFirstIsTaken)
{
    TTreeNode* mixed = Child(Fixture(), "MixedCase");
    TTreeNode* sibling = Child(Fixture(), "sibling");
    ASSERT_TRUE(mixed && sibling);
    const TextRestorer restore(sibling);
    sibling->SetText("MIXEDCASE");
    TTreeNode* first = nullptr;
    for (TTreeNode* n = Fixture()->getFirstChild(); n && !first; n = n->getNextSibling())
        if (n == mixed || n == sibling)
            first = n;
    Jump(kRoot + "mixedCASE");
    EXPECT_EQ(Tree().Selected(), first);
    EXPECT_EQ(Address(), PathOf(first));
}

TEST_F(NavigationTest, AnotherDrivesPathIsWalkedInTheTreeOfDriveC)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "drive Z is Wine's view of the host's root";
    ASSERT_TRUE(IsFolder("Z:\\" + kOnBoth) && IsFolder("Z:\\" + kOnZOnly));
    ASSERT_FALSE(IsFolder("C:\\" + kOnZOnly));
    // It exists on Z, not on C: C's tree has no node for it.
    ExpectIgnored("Z:\\" + kOnZOnly);
    // It exists on both: C's folder is selected and listed.
    Jump("Z:\\" + kOnBoth);
    TTreeNode* both = Child(Child(Tree().Items.GetFirstNode(), "tmp"), "tamsaek-nav-both");
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(Tree().Selected(), both);
    EXPECT_EQ(Address(), "C:\\" + kOnBoth + "\\");
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

    // Where the platform finds a folder the walk ends at the root (an empty
    // component) or nowhere (no such node); otherwise the usual refusal.
    const String backslashes(20, '\\');
    if (IsFolder(backslashes)) {
        Jump(backslashes);
        EXPECT_TRUE(RecordedMessages().empty());
        EXPECT_EQ(Tree().Selected(), Tree().Items.GetFirstNode());
    } else {
        ExpectRefused(backslashes);
    }
    RecordedMessages().clear();
    Jump("\\\\?\\C:\\tamsaek-nav");
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(Tree().Selected(), Tree().Items.GetFirstNode()) << "the empty component after \\\\ ends the walk";

    for (const String& typed : {kRoot + "MixedCase  ", kRoot + "MixedCase.."}) {
        Jump(kRoot);
        RecordedMessages().clear();
        if (IsFolder(typed))
            ExpectIgnored(typed);
        else
            ExpectRefused(typed);
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

    // The row's name must equal a child's text byte for byte: the folder's
    // node edited to differ in case only is not taken, the folder listed again.
    {
        TTreeNode* mixed = Child(Fixture(), "MixedCase");
        const TextRestorer restore(mixed);
        mixed->SetText("MIXEDCASE");
        Jump(kRoot);
        List().SetSelectedIndex(RowOf(List(), "MixedCase"));
        W().ActionListView(&List());
        EXPECT_EQ(Tree().Selected(), Fixture());
        EXPECT_EQ(Address(), kRoot);
    }

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
    ASSERT_TRUE(
        ::SendMessageW(List().Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)));
    ClickAt(List().Handle(), {rect.left + 10, (rect.top + rect.bottom) / 2}, true);
    EXPECT_TRUE(PumpUntil([&] { return Tree().Selected() == mixed; }));
    EXPECT_EQ(Address(), kRoot + "MixedCase\\");
}

} // namespace
