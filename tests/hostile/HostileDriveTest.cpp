// The folder browser on a drive C made to be hard on it (see
// tests/fixtures/hostile-drive-c.sh, which makes it in a prefix of its own).
// One window is built for the whole suite, as the program builds it: one walk
// of the drive. The last test closes it and counts the released records.
#include "base/WideText.h"
#include "browser/SearchWindow.h"
#include "platform/FolderSearch.h"
#include "platform/SysUtils.h"
#include "tests/support/DebugOutputCapture.h"
#include "tests/support/Fixtures.h"
#include "tests/support/LinkLoopChecks.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/WindowQueries.h"
#include "ui/Application.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

const String kRoot = "C:\\hostile\\";
constexpr int kDepth = 3000;
const String kChainLevel = "dd\\"; // one folder of the chain, with its backslash
constexpr std::size_t kWide = 100'000;
const String kPercentName = "100%s%n%d";
const String kEmojiName = "😀 이모지 𝄞";
const String kLongName(255, 'N');
const String kTrailingName = "trailing  ";

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Figures for docs/reliability.md; never asserted.
void Report(const char* what, double seconds)
{
    std::printf("[  timing  ] %s: %.2f s\n", what, seconds);
    std::fflush(stdout);
}

void Report(const char* what, int count)
{
    std::printf("[  figure  ] %s: %d\n", what, count);
    std::fflush(stdout);
}

String NativeItemText(HWND tree, HTREEITEM item)
{
    wchar_t text[1024] = {};
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = 1024;
    if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return "<no item>";
    return Narrow(text);
}

const TListItem* Row(const TListView& list, const String& caption)
{
    for (int i = 0; i < list.Items.Count(); ++i)
        if (list.Items[i].Caption == caption)
            return &list.Items[i];
    return nullptr;
}

// The path of the chain's folder `depth` levels below C:\hostile\deep\.
String ChainPath(int depth)
{
    String path = kRoot + "deep\\";
    for (int i = 0; i < depth; ++i)
        path += kChainLevel;
    return path;
}

// The depth of the chain's deepest folder that the platform's folder search
// lists. Where a folder cannot be listed, none below it can: a bisection
// keeps the number of searches small, for under Wine each costs time in
// proportion to the square of its depth.
int ListableDepth()
{
    static const int depth = [] {
        auto listable = [](int level) { return platform::FolderSearch(ChainPath(level) + "*.*").Started(); };
        if (!listable(0))
            return -1;
        int low = 0;       // listable
        int high = kDepth; // the deepest there is
        if (listable(high))
            return high;
        while (high - low > 1) {
            const int middle = low + (high - low) / 2;
            (listable(middle) ? low : high) = middle;
        }
        return low;
    }();
    return depth;
}

// Watches from another thread for this process's progress window while the
// folder browser is built: when it first shows. Nothing here sends the
// busy thread a message.
class ProgressWatch {
public:
    ProgressWatch() : start_(std::chrono::steady_clock::now()), thread_([this] { Watch(); }) {}
    ~ProgressWatch() { Stop(); }
    ProgressWatch(const ProgressWatch&) = delete;
    ProgressWatch& operator=(const ProgressWatch&) = delete;

    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    HWND Window() const { return window_; }
    double FirstShown() const { return firstShown_; }

private:
    static BOOL CALLBACK Match(HWND window, LPARAM found)
    {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t caption[64] = {};
        ::InternalGetWindowText(window, caption, 64);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
            std::wstring(caption) == L"폴더를 읽는 중…") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    void Watch()
    {
        while (!stop_ && !window_) {
            HWND found = nullptr;
            ::EnumWindows(Match, reinterpret_cast<LPARAM>(&found));
            if (found) {
                firstShown_ = SecondsSince(start_);
                window_ = found;
            }
            ::Sleep(5);
        }
    }

    std::chrono::steady_clock::time_point start_;
    std::atomic<bool> stop_{false};
    std::atomic<HWND> window_{nullptr};
    std::atomic<double> firstShown_{-1};
    std::thread thread_;
};

// A window of the test's own with a message waiting for it while the
// browser is built: the progress window must leave it waiting.
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct Probe {
    HWND window = nullptr;
    bool building = false;
    int dispatched = 0;
    int dispatchedWhileBuilding = 0;
};

Probe& TheProbe()
{
    static Probe probe;
    return probe;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ++TheProbe().dispatched;
        TheProbe().dispatchedWhileBuilding += TheProbe().building ? 1 : 0;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class HostileDriveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A failure here must fail every test: an exception out of this
        // function would only mark them skipped.
        try {
            if (!DirectoryExists(kRoot)) {
                setupError_ = "C:\\hostile is missing: run tests/fixtures/hostile-drive-c.sh setup first";
                return;
            }
            RecordedMessages().clear();
            createdBefore_ = TTreeDataSearch::Created();
            releasedBefore_ = TTreeDataSearch::Released();
            WNDCLASSEXW probeClass{};
            probeClass.cbSize = sizeof probeClass;
            probeClass.lpfnWndProc = ProbeProc;
            probeClass.hInstance = ::GetModuleHandleW(nullptr);
            probeClass.lpszClassName = L"TamsaekHostileProbe";
            ::RegisterClassExW(&probeClass);
            TheProbe().window = ::CreateWindowExW(0, L"TamsaekHostileProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                  probeClass.hInstance, nullptr);
            ::PostMessageW(TheProbe().window, WM_APP, 0, 0);
            TheProbe().building = true;
            ProgressWatch watch;
            const auto start = std::chrono::steady_clock::now();
            window_ = new TSearchWindow(Application);
            Report("window built, whole drive C walked", SecondsSince(start));
            TheProbe().building = false;
            watch.Stop();
            progressShownAfter_ = watch.FirstShown();
            progressLeftOpen_ = watch.Window() && ::IsWindow(watch.Window());
            ProcessMessages();
            std::printf("[  timing  ] tree nodes: %zu\n", window_->T_TREEVIEW_SEARCH->Items.Count());
        } catch (const std::exception& e) {
            setupError_ = e.what();
        }
    }

    static void TearDownTestSuite()
    {
        delete window_;
        window_ = nullptr;
    }

    void SetUp() override
    {
        if (!setupError_.empty() || !window_)
            FAIL() << "the window could not be built: " << setupError_;
        RecordedMessages().clear();
    }

    static TSearchWindow& Window() { return *window_; }
    static TTreeNode* Hostile() { return Child(window_->T_TREEVIEW_SEARCH->Items.GetFirstNode(), "hostile"); }
    static TTreeNode* Node(const String& name) { return Child(Hostile(), name); }

    // The address bar's way to a folder: type, press the button.
    static void Jump(const String& typed)
    {
        Window().T_EDIT_SEARCH->SetTextBuf(typed.c_str());
        Window().BTNSearch(nullptr);
    }

    static inline TSearchWindow* window_ = nullptr;
    static inline String setupError_;
    static inline long createdBefore_ = 0;
    static inline double progressShownAfter_ = -1;
    static inline bool progressLeftOpen_ = false;
    static inline long releasedBefore_ = 0;
};

TEST_F(HostileDriveTest, TheWalkEndsAndShowsNoMessage)
{
    EXPECT_TRUE(RecordedMessages().empty());
    ASSERT_NE(Hostile(), nullptr);
    EXPECT_EQ(PathOf(Hostile()), kRoot);
    for (const char* name : {"loop", "target", "deep", "wide", "names", "locked", "vanishing", "big"})
        EXPECT_NE(Node(name), nullptr) << name;
}

TEST_F(HostileDriveTest, AProgressWindowShowsAfterHalfASecondOfTheWalkAndGoesBeforeTheWindow)
{
    ASSERT_GE(progressShownAfter_, 0.0) << "a walk of this drive takes long enough to show its progress";
    EXPECT_GE(progressShownAfter_, 0.5);
    Report("progress window shown after (s)", progressShownAfter_);
    EXPECT_FALSE(progressLeftOpen_) << "closed before the folder browser was built";
    EXPECT_EQ(TheProbe().dispatchedWhileBuilding, 0) << "it dispatched another window's message";
    EXPECT_EQ(TheProbe().dispatched, 1);
}

TEST_F(HostileDriveTest, TwoLinkLoopsInOneFolderKeepTheirNodesWithoutChildren)
{
    TTreeNode* loop = Node("loop");
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(PathOf(loop), kRoot + "loop\\");
    ExpectLinksBackToAncestorsKeepNodesWithoutChildren(loop);
    // Through the loop the drive holds endless paths; the tree holds the drive once.
    EXPECT_EQ(Child(Child(loop, "up"), "wide"), nullptr);
}

TEST_F(HostileDriveTest, AChainThreeThousandDeepIsWalkedAsDeepAsItCanBeListed)
{
    // The chain's folders from deep\ (index 0) down, as the tree holds them.
    std::vector<TTreeNode*> chain{Node("deep")};
    ASSERT_NE(chain.back(), nullptr);
    while (TTreeNode* child = Child(chain.back(), "dd"))
        chain.push_back(child);
    const int reached = static_cast<int>(chain.size()) - 1;

    // Windows lists all 3,000 levels (paths of up to 32,767 characters).
    // Wine turns each path into a Unix path, which may not exceed 4,095
    // bytes: there the platform's own search gives up about 1,300 levels
    // down, and the walk can go no further than that.
    const int listable = ListableDepth();
    Report("levels of the chain the folder search can list", listable);
    ASSERT_GE(listable, 1000) << "the chain fixture is missing, broken or under too long a path";
    EXPECT_EQ(reached, std::min(kDepth, listable + 1));
    if (!RunningUnderWine()) {
        EXPECT_EQ(reached, kDepth);
    }

    TTreeNode* deepest = chain.back();
    EXPECT_TRUE(PathOf(deepest) == ChainPath(reached)) << "the deepest node's path is not its folder's";
    EXPECT_EQ(PathOf(deepest).size(), ChainPath(0).size() + kChainLevel.size() * static_cast<std::size_t>(reached));
    EXPECT_EQ(deepest->Level(), reached + 2);
    EXPECT_FALSE(deepest->HasChildren());

    // The deepest listable folder through the address bar: thousands of
    // components walked, the node revealed through every level of the tree.
    const int target = std::min(reached, listable);
    const auto start = std::chrono::steady_clock::now();
    Jump(ChainPath(target).substr(0, ChainPath(target).size() - 1));
    Report("address bar jump down the chain", SecondsSince(start));
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(Window().T_TREEVIEW_SEARCH->Selected(), chain[static_cast<std::size_t>(target)]);
    EXPECT_TRUE(Window().T_EDIT_SEARCH->Text() == ChainPath(target)) << "the address bar does not show the node's path";
    EXPECT_EQ(Captions(*Window().T_LISTVIEW_SEARCH),
              target == kDepth ? std::vector<String>{"bottom.txt"} : std::vector<String>{"dd"});
}

TEST_F(HostileDriveTest, AHundredThousandSubfoldersAreAllThereInSearchOrder)
{
    TTreeNode* wide = Node("wide");
    ASSERT_NE(wide, nullptr);
    const std::vector<String> searched = SearchNames(kRoot + "wide\\", true);
    ASSERT_EQ(searched.size(), kWide) << "the fixture is incomplete";
    const std::vector<String> children = ChildTexts(wide);
    EXPECT_EQ(children.size(), kWide);
    EXPECT_TRUE(children == searched) << "the children differ from the search's order";
    std::size_t wrongPaths = 0;
    std::size_t index = 0;
    for (const TTreeNode* child = wide->getFirstChild(); child; child = child->getNextSibling(), ++index)
        if (index >= searched.size() || PathOf(child) != kRoot + "wide\\" + searched[index] + "\\")
            ++wrongPaths;
    EXPECT_EQ(wrongPaths, 0u) << "children whose path is not their folder's";

    const auto start = std::chrono::steady_clock::now();
    Window().T_TREEVIEW_SEARCH->SetSelected(wide);
    Window().ShowTest(nullptr);
    Report("listing 100,000 folders", SecondsSince(start));
    const std::vector<String> rows = Captions(*Window().T_LISTVIEW_SEARCH);
    EXPECT_EQ(rows.size(), kWide);
    EXPECT_TRUE(rows == searched) << "the rows differ from the search's order";
    EXPECT_TRUE(RecordedMessages().empty());

    // Opened as a user would: an item for every folder, the last one
    // scrolled into view with its text.
    HWND tree = Window().T_TREEVIEW_SEARCH->Handle();
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(wide->NativeItem()));
    std::size_t items = 0;
    HTREEITEM last = nullptr;
    for (auto item = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(wide->NativeItem())));
         item; item = reinterpret_cast<HTREEITEM>(
                   ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        last = item;
        ++items;
    }
    EXPECT_EQ(items, kWide);
    ASSERT_NE(last, nullptr);
    ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(NativeItemText(tree, last), searched.back());
    RECT bounds{};
    std::memcpy(&bounds, &last, sizeof last);
    ASSERT_TRUE(::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&bounds))) << "not in view";
    RECT client;
    ::GetClientRect(tree, &client);
    EXPECT_GE(bounds.top, client.top);
    EXPECT_LE(bounds.bottom, client.bottom);
}

TEST_F(HostileDriveTest, AwkwardNamesKeepTheirExactTextInTheTreeTheListAndTheTrace)
{
    TTreeNode* names = Node("names");
    ASSERT_NE(names, nullptr);
    for (const String& name : {kPercentName, kEmojiName, kLongName, kTrailingName}) {
        TTreeNode* node = Child(names, name);
        ASSERT_NE(node, nullptr) << "no node for [" << name << "]";
        const String path = kRoot + "names\\" + name + "\\";
        EXPECT_EQ(PathOf(node), path);
        Window().T_TREEVIEW_SEARCH->SetSelected(node);
        // The native item shows the whole text, pairs of UTF-16 units included.
        EXPECT_EQ(NativeItemText(Window().T_TREEVIEW_SEARCH->Handle(), static_cast<HTREEITEM>(node->NativeItem())),
                  name);
        Window().ShowTest(nullptr);
        EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), path);
        EXPECT_EQ(Captions(*Window().T_LISTVIEW_SEARCH), std::vector<String>{"inside.txt"}) << name;
    }
    EXPECT_GT(PathOf(Child(names, kLongName)).size(), 260u);

    DebugOutputCapture capture;
    ASSERT_TRUE(capture.Listening());
    Window().ListFolder(kRoot + "names\\");
    Window().DrainTrace();
    const std::vector<String> lines = capture.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "file name : [100%s%n.txt], file_size[2]"), lines.end());
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const String& line) {
                               return line.rfind("file name : [" + kPercentName + "], file_size[", 0) == 0;
                           }),
              lines.end());
    const TListItem* music = Row(*Window().T_LISTVIEW_SEARCH, "🎵.txt");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->SubItems[0], "5");

    // Typed, they reach their nodes; the address bar then shows the node's path.
    for (const String& name : {kPercentName, kEmojiName, kLongName}) {
        Jump(kRoot + "names\\" + name);
        EXPECT_EQ(Window().T_TREEVIEW_SEARCH->Selected(), Child(names, name)) << name;
        EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), kRoot + "names\\" + name + "\\");
    }
    EXPECT_TRUE(RecordedMessages().empty());

    // The platform drops trailing spaces from a path's last component, as
    // Windows does: typed without its final backslash, such a folder does
    // not exist and the path is refused; with it, the folder is reached.
    TTreeNode* trailing = Child(names, kTrailingName);
    Jump(kRoot + "names\\" + kTrailingName);
    EXPECT_EQ(RecordedMessages(), (std::vector<RecordedMessage>{{MessageKind::Message, "알맞은 경로가 아닙니다."}}));
    EXPECT_NE(Window().T_TREEVIEW_SEARCH->Selected(), trailing);
    RecordedMessages().clear();
    Jump(kRoot + "names\\" + kTrailingName + "\\");
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(Window().T_TREEVIEW_SEARCH->Selected(), trailing);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), PathOf(trailing));
}

TEST_F(HostileDriveTest, AFolderThatMayNotBeListedHasNoChildrenAndShowsNoMessage)
{
    // Root lists any folder: the run must have dropped that power, or this
    // test would prove nothing.
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW(Widen(kRoot + "locked\\*").c_str(), &data);
    const DWORD error = ::GetLastError();
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    ASSERT_EQ(search, INVALID_HANDLE_VALUE)
        << "C:\\hostile\\locked can be listed: run this test through hostile-drive-c.sh run";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));

    TTreeNode* locked = Node("locked");
    ASSERT_NE(locked, nullptr);
    EXPECT_FALSE(locked->HasChildren());
    Window().T_TREEVIEW_SEARCH->SetSelected(locked);
    Window().ShowTest(nullptr);
    EXPECT_EQ(Window().T_LISTVIEW_SEARCH->Items.Count(), 0);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), kRoot + "locked\\");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(HostileDriveTest, AFolderDeletedAfterTheWalkListsEmptyWithItsPath)
{
    TTreeNode* vanishing = Node("vanishing");
    ASSERT_NE(vanishing, nullptr);
    EXPECT_EQ(ChildTexts(vanishing), std::vector<String>{"child"});
    RemoveTree(kRoot + "vanishing");
    ASSERT_FALSE(DirectoryExists(kRoot + "vanishing"));

    Window().ListFolder(kRoot + "names\\");
    ASSERT_GT(Window().T_LISTVIEW_SEARCH->Items.Count(), 0);
    Window().T_TREEVIEW_SEARCH->SetSelected(vanishing);
    Window().ShowTest(nullptr);
    EXPECT_EQ(Window().T_LISTVIEW_SEARCH->Items.Count(), 0);
    EXPECT_EQ(Window().T_EDIT_SEARCH->Text(), kRoot + "vanishing\\");
    EXPECT_TRUE(RecordedMessages().empty());
    // The tree keeps the node it was built with.
    EXPECT_EQ(ChildTexts(vanishing), std::vector<String>{"child"});
}

TEST_F(HostileDriveTest, AHugeSparseFileShowsItsWholeSize)
{
    DebugOutputCapture capture;
    ASSERT_TRUE(capture.Listening());
    Window().ListFolder(kRoot + "big\\");
    ASSERT_EQ(Captions(*Window().T_LISTVIEW_SEARCH), std::vector<String>{"5gib.bin"});
    EXPECT_EQ(Window().T_LISTVIEW_SEARCH->Items[0].SubItems[0], "5368709120");
    Window().DrainTrace();
    EXPECT_EQ(capture.Lines(), std::vector<String>{"file name : [5gib.bin], file_size[5368709120]"});
}

// Last: it closes the suite's window.
TEST_F(HostileDriveTest, ClosingReleasesEveryRecordExactlyOnce)
{
    const long nodes = static_cast<long>(Window().T_TREEVIEW_SEARCH->Items.Count());
    EXPECT_GT(nodes, static_cast<long>(kWide) + ListableDepth());
    EXPECT_EQ(TTreeDataSearch::Created() - createdBefore_, nodes);
    EXPECT_EQ(TTreeDataSearch::Released(), releasedBefore_);

    const auto start = std::chrono::steady_clock::now();
    TCloseAction action = caHide;
    Window().CloseSearch(window_, action);
    Report("releasing the records", SecondsSince(start));
    EXPECT_EQ(TTreeDataSearch::Released() - releasedBefore_, nodes);
    Window().CloseSearch(window_, action);
    EXPECT_EQ(TTreeDataSearch::Released() - releasedBefore_, nodes) << "a second close released records again";
    EXPECT_EQ(Window().T_TREEVIEW_SEARCH->Items.GetFirstNode()->Data, nullptr);
    delete window_;
    window_ = nullptr;
}

} // namespace
