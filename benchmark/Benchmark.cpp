// Measures what users wait for against bare baselines, one measurement per
// process so that every round starts from the same state. Prints
// "key=value" lines for ./bench to gather. Every mode reports process_s,
// the time from the process's creation to main().
//
//   tamsaek_bench startup              process start to the first paint of the shown main window, with
//                                      its phases: wall time, each thread's processor time, allocations
//   tamsaek_bench memory               the same, sampling the heaps: bytes per node at the peak and after
//   tamsaek_bench walk THREADS         a bare walk of C:\ with the product's searches on 1 or 2 threads,
//                                      with the walkers' processor time and allocations
//   tamsaek_bench productwalk          the program's own walk of C:\ on 2 threads, without a window
//   tamsaek_bench expand ROOT          first expansion of ROOT\k1000 and ROOT\wide, against a plain
//                                      insertion (and expansion) of as many items in a native tree
//   tamsaek_bench jump ROOT            the address bar's jump to the last folder of ROOT\wide
//   tamsaek_bench million FOLDER       start-up, then a jump to FOLDER, the root collapsed and opened,
//                                      the window closed; the peak memory against the address space
//   tamsaek_bench list FOLDER          ListFolder of FOLDER until the list is drawn; then the
//                                      trace lines it should have sent, as trace=...
//   tamsaek_bench enum FOLDER          bare enumeration of FOLDER with the same texts
//   tamsaek_bench monitor STOPFILE     a debug-output monitor: prints "line=PID<tab>TEXT" per
//                                      string until STOPFILE exists
#include "base/WideText.h"
#include "benchmark/ThreadAccounts.h"
#include "browser/AddressWalk.h"
#include "browser/FileRow.h"
#include "browser/FolderSource.h"
#include "browser/FolderWalk.h"
#include "browser/SearchWindow.h"
#include "platform/FolderSearch.h"
#include "platform/SysUtils.h"
#include "ui/Application.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr char kRootText[] = "C 드라이브";

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

void Report(const char* key, double value)
{
    std::printf("%s=%.6f\n", key, value);
}

// From the process's creation to now: the process start as Wine pays it.
void ReportProcessStart()
{
    FILETIME created;
    FILETIME unused[3];
    FILETIME now;
    ::GetSystemTimePreciseAsFileTime(&now);
    if (::GetProcessTimes(::GetCurrentProcess(), &created, &unused[0], &unused[1], &unused[2]))
        Report("process_s", static_cast<double>(FileTimeValue(now) - FileTimeValue(created)) / 1e7);
}

// The bytes held in the process's heaps, blocks' overhead included: what
// the process has allocated privately. Wine does not count private bytes in
// its memory counters, so they are summed here the same way everywhere.
std::uint64_t PrivateBytes()
{
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t total = 0;
    for (HANDLE heap : heaps) {
        if (!::HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData + entry.cbOverhead;
        ::HeapUnlock(heap);
    }
    return total;
}

// FNV-1a over every node's depth, text and path in depth-first order:
// equal digests mean equal trees, node for node, siblings in order. The
// unordered digest sums each node's own hash, for walks that find the
// folders in no particular order.
class Digest {
public:
    void Add(int depth, std::string_view text, std::string_view path)
    {
        std::uint64_t own = 1469598103934665603ull;
        auto mix = [&](std::string_view part) {
            for (unsigned char c : part) {
                value_ = (value_ ^ c) * 1099511628211ull;
                own = (own ^ c) * 1099511628211ull;
            }
            value_ = (value_ ^ '\n') * 1099511628211ull;
            own = (own ^ '\n') * 1099511628211ull;
        };
        mix(std::to_string(depth));
        mix(text);
        mix(path);
        unordered_ += own;
        ++count_;
    }
    std::size_t Count() const { return count_; }
    void Merge(const Digest& other)
    {
        unordered_ += other.unordered_;
        count_ += other.count_;
    }
    void Print(bool ordered) const
    {
        Report("nodes", static_cast<double>(count_));
        if (ordered)
            std::printf("digest=%016" PRIx64 "\n", value_);
        std::printf("unordered=%016" PRIx64 "\n", unordered_);
    }

private:
    std::uint64_t value_ = 1469598103934665603ull;
    std::uint64_t unordered_ = 0;
    std::size_t count_ = 0;
};

void DigestTree(const TTreeNode* root, Digest& digest)
{
    std::vector<std::pair<const TTreeNode*, int>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        digest.Add(depth, node->Text(), static_cast<const TTreeDataSearch*>(node->Data)->Path);
        const std::size_t at = pending.size();
        for (const TTreeNode* child = node->getFirstChild(); child; child = child->getNextSibling())
            pending.emplace_back(child, depth + 1);
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(at), pending.end());
    }
}

TTreeNode* Find(TTreeNode* parent, const String& text)
{
    for (TTreeNode* child = parent ? parent->getFirstChild() : nullptr; child; child = child->getNextSibling())
        if (child->Text() == text)
            return child;
    return nullptr;
}

// The clock, and the processor time and allocations of the process and of
// the calling thread, at a moment: the walkers' share of what follows is
// the process's less the calling thread's.
struct ProcessMark {
    double seconds = Seconds();
    double cpu = ProcessCpuSeconds();
    std::uint64_t allocations = AllAllocations();
    double callerCpu = ThreadCpuSeconds();
    std::uint64_t callerAllocations = ThreadAllocations();
    WaitAccount waits = AllWaits();
    WaitAccount callerWaits = ThreadWaits();
};

// Where a start-up's time goes: the wall clock at the end of each phase
// and the calling thread's processor time in it.
struct Phases {
    static constexpr int kCount = 4;
    static constexpr const char* kNames[kCount] = {"initialize", "create", "show", "paint"};
    ProcessMark start;
    double end[kCount] = {};
    double cpu[kCount] = {};
    int done = 0;

    void Next()
    {
        end[done] = Seconds();
        cpu[done] = ThreadCpuSeconds();
        ++done;
    }
};

// The main window as the program makes it, shown and drawn once.
TSearchWindow* ShowMainWindow(Phases& phases)
{
    Application->Initialize();
    phases.Next();
    Application->CreateForm(SearchWindow); // the searches start, the tree is built
    phases.Next();
    SearchWindow->Show();
    phases.Next();
    ::RedrawWindow(SearchWindow->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    phases.Next();
    return SearchWindow;
}

TSearchWindow* ShowMainWindow()
{
    Phases phases;
    return ShowMainWindow(phases);
}

// The walkers since `mark`: everything the process did beside the calling
// thread, or with it where it walked too, and the threads noted as ended,
// with the time the last one ended.
struct Walkers {
    int count = 0;
    double cpu = 0;
    std::uint64_t allocations = 0;
    double lastEnd = 0;
};

Walkers WalkersSince(const ProcessMark& mark, bool callerWalked)
{
    Walkers walkers;
    walkers.cpu = ProcessCpuSeconds() - mark.cpu;
    walkers.allocations = AllAllocations() - mark.allocations;
    if (callerWalked) {
        walkers.count = 1;
        walkers.lastEnd = Seconds();
    } else {
        walkers.cpu -= ThreadCpuSeconds() - mark.callerCpu;
        walkers.allocations -= ThreadAllocations() - mark.callerAllocations;
    }
    for (const ThreadEnd& thread : EndedThreads()) {
        if (thread.endedAt < mark.seconds)
            continue;
        ++walkers.count;
        walkers.lastEnd = std::max(walkers.lastEnd, thread.endedAt);
    }
    return walkers;
}

// The waits of `account` as raw sums, for the report to divide: per kind
// how many and how long, the allocator's calls, bytes, time and slow calls,
// the folder searches.
void ReportWaits(const char* who, const WaitAccount& account)
{
    static constexpr const char* kKinds[WaitAccount::kKinds] = {
        "sharing_lock", "sharing_idle", "sharing_wake", "done_wait", "handover_lock", "counter_lock", "handover"};
    const double perSecond = TicksPerSecond();
    char key[96];
    for (std::size_t i = 0; i < WaitAccount::kKinds; ++i) {
        std::snprintf(key, sizeof key, "%s_%s_n", who, kKinds[i]);
        Report(key, static_cast<double>(account.count[i]));
        std::snprintf(key, sizeof key, "%s_%s_s", who, kKinds[i]);
        Report(key, static_cast<double>(account.ticks[i]) / perSecond);
    }
    const std::pair<const char*, double> totals[] = {
        {"allocator_n", static_cast<double>(account.allocatorCalls)},
        {"allocator_s", static_cast<double>(account.allocatorTicks) / perSecond},
        {"allocator_slow_n", static_cast<double>(account.allocatorSlow)},
        {"allocated_bytes", static_cast<double>(account.bytes)},
        {"searches_n", static_cast<double>(account.searches)},
    };
    for (const auto& [name, value] : totals) {
        std::snprintf(key, sizeof key, "%s_%s", who, name);
        Report(key, value);
    }
}

void ReportWalkers(const ProcessMark& mark, double nodes, bool callerWalked = false)
{
    const double walked = Seconds() - mark.seconds;
    WaitAccount walkerWaits = AllWaits();
    walkerWaits -= mark.waits;
    WaitAccount callerWaits = ThreadWaits();
    callerWaits -= mark.callerWaits;
    if (!callerWalked)
        walkerWaits -= callerWaits;
    const Walkers walkers = WalkersSince(mark, callerWalked);
    Report("waits_walk_s", walked);
    ReportWaits("waits_walkers", walkerWaits);
    if (!callerWalked)
        ReportWaits("waits_caller", callerWaits);
    Report("walkers", walkers.count);
    Report("walker_cpu_s", walkers.cpu);
    Report("walker_allocations_per_folder", static_cast<double>(walkers.allocations) / nodes);
    if (walkers.count)
        Report("searches_end_s", walkers.lastEnd - mark.seconds);
}

void Close(TSearchWindow* window)
{
    TCloseAction action = caHide;
    window->CloseSearch(window, action);
    delete window;
}

int Startup()
{
    Phases phases;
    TSearchWindow* window = ShowMainWindow(phases);
    const double end = phases.end[Phases::kCount - 1];
    Report("startup_s", end - phases.start.seconds);
    const std::uint64_t callerAllocations = ThreadAllocations() - phases.start.callerAllocations;
    double before = phases.start.seconds;
    double beforeCpu = phases.start.callerCpu;
    for (int i = 0; i < Phases::kCount; ++i) {
        std::printf("phase_%s_s=%.6f\n", Phases::kNames[i], phases.end[i] - before);
        std::printf("caller_cpu_%s_s=%.6f\n", Phases::kNames[i], phases.cpu[i] - beforeCpu);
        before = phases.end[i];
        beforeCpu = phases.cpu[i];
    }
    const double nodes = static_cast<double>(window->T_TREEVIEW_SEARCH->Items.Count());
    Report("caller_cpu_s", phases.cpu[Phases::kCount - 1] - phases.start.callerCpu);
    Report("caller_allocations_per_folder", static_cast<double>(callerAllocations) / nodes);
    ReportWalkers(phases.start, nodes);
    Digest digest;
    DigestTree(window->T_TREEVIEW_SEARCH->Items.GetFirstNode(), digest);
    digest.Print(true);
    Close(window);
    Report("released_all", TTreeDataSearch::Released() == TTreeDataSearch::Created() ? 1 : 0);
    return 0;
}

// Start-up again, with the heaps sampled over and over while it runs:
// slow, so never timed.
int Memory()
{
    const std::uint64_t before = PrivateBytes();
    std::atomic<bool> done{false};
    std::uint64_t peak = before;
    std::thread sampler([&] {
        while (!done) {
            const double sampleStart = Seconds();
            peak = std::max(peak, PrivateBytes());
            // A walk of the heaps takes the longer the more they hold, and
            // holds their lock: sampling a tenth of the time keeps a tree of
            // a million folders from taking hours to build.
            const double took = Seconds() - sampleStart;
            ::Sleep(static_cast<DWORD>(std::max(1.0, took * 9 * 1000)));
        }
    });
    TSearchWindow* window = ShowMainWindow();
    done = true;
    sampler.join();
    const std::uint64_t after = PrivateBytes();
    peak = std::max(peak, after);
    const double nodes = static_cast<double>(window->T_TREEVIEW_SEARCH->Items.Count());
    Report("nodes", nodes);
    Report("bytes_per_node", static_cast<double>(after - before) / nodes);
    Report("peak_bytes_per_node", static_cast<double>(peak - before) / nodes);
    Close(window);
    return 0;
}

struct BareFolder {
    String path;
    String name;
    int depth;
    bool isLink;
};

// One folder searched as the product searches it; its subfolders appended.
void ListBare(DiskFolderSource& disk, const BareFolder& folder, std::vector<BareFolder>& children)
{
    if (folder.isLink && LeadsToAncestor(disk, folder.path))
        return;
    NoteSearch();
    disk.List(folder.path, [&](std::string_view name, std::uint32_t attributes) {
        if (!IsTreeFolder(name, attributes))
            return;
        String path;
        path.reserve(folder.path.size() + name.size() + 1);
        path.append(folder.path).append(name).push_back('\\');
        children.push_back(
            {std::move(path), String(name), folder.depth + 1, (attributes & kReparsePointAttribute) != 0});
    });
}

// Takes the folder on top of a walker's stack, counts it and puts its
// subfolders on the stack, first child on top.
template <class Stack>
void VisitNext(Stack& stack, DiskFolderSource& disk, std::vector<BareFolder>& children, Digest& digest)
{
    BareFolder folder = std::move(stack.back());
    stack.pop_back();
    digest.Add(folder.depth, folder.name, folder.path);
    ListBare(disk, folder, children);
    std::move(children.rbegin(), children.rend(), std::back_inserter(stack));
    children.clear();
}

// The same searches, depth first on this thread, building nothing.
void BareWalk(Digest& digest)
{
    DiskFolderSource disk;
    std::vector<BareFolder> stack{{"C:\\", kRootText, 0, false}};
    std::vector<BareFolder> children;
    while (!stack.empty()) {
        VisitNext(stack, disk, children, digest);
    }
}

// The same searches on several threads, each walking its own stack and
// handing half of it over only when another has run dry: the product's
// sharing, without numbering anything or keeping anything.
void BareWalkShared(unsigned threads, Digest& total)
{
    WorkSharing<BareFolder, BenchWalkProbe> sharing(threads);
    sharing.Seed({"C:\\", kRootText, 0, false});
    std::vector<Digest> digests(threads);
    auto walker = [&](Digest& digest) {
        DiskFolderSource disk;
        std::deque<BareFolder> stack;
        std::vector<BareFolder> children;
        while (!stack.empty() || sharing.Take(stack)) {
            VisitNext(stack, disk, children, digest);
            if (sharing.Hungry())
                sharing.Share(stack);
        }
    };
    std::vector<std::thread> running;
    for (unsigned i = 1; i < threads; ++i)
        running.emplace_back(walker, std::ref(digests[i]));
    walker(digests[0]);
    for (std::thread& thread : running)
        thread.join();
    for (const Digest& digest : digests)
        total.Merge(digest);
}

int Walk(unsigned threads)
{
    Digest digest;
    const ProcessMark mark;
    if (threads <= 1)
        BareWalk(digest);
    else
        BareWalkShared(threads, digest);
    Report("walk_s", Seconds() - mark.seconds);
    digest.Print(threads <= 1);
    Report("caller_cpu_s", 0);
    ReportWalkers(mark, static_cast<double>(digest.Count()), true); // this thread walked too
    return 0;
}

// The product's searches, each one counted as the bare walk counts its own.
struct CountedSource {
    template <class Visit>
    bool List(const String& folderPath, Visit&& visit)
    {
        NoteSearch();
        return disk.List(folderPath, std::forward<Visit>(visit));
    }
    auto Identify(const String& folderPath) { return disk.Identify(folderPath); }

    DiskFolderSource disk;
};

// The product's own walk, on its own threads, without a window: what the
// searches cost the program apart from everything a window brings along.
int ProductWalk()
{
    CountedSource disk;
    const ProcessMark mark;
    std::size_t added = 0;
    FolderTreeWalk<CountedSource, BenchWalkProbe>(disk, "C:\\", 2).Build(0, [&](int, std::string_view, const String&) {
        ++added;
        return 0;
    });
    Report("walk_s", Seconds() - mark.seconds);
    const double nodes = static_cast<double>(added + 1);
    Report("nodes", nodes);
    Report("caller_cpu_s", ThreadCpuSeconds() - mark.callerCpu);
    Report("caller_allocations_per_folder", static_cast<double>(ThreadAllocations() - mark.callerAllocations) / nodes);
    ReportWalkers(mark, nodes);
    return 0;
}

// A first expansion, apart: the control's expansion message (the items
// put in, their texts measured, the scroll bar set) and the drawing after it.
struct ExpandTimes {
    double message;
    double drawing;
    double Total() const { return message + drawing; }
};

ExpandTimes ExpandNative(HWND tree, HTREEITEM item)
{
    const double start = Seconds();
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    const double expanded = Seconds();
    ::RedrawWindow(tree, nullptr, nullptr, RDW_UPDATENOW);
    return {expanded - start, Seconds() - expanded};
}

ExpandTimes ExpandTimed(TTreeView& tree, TTreeNode* node)
{
    tree.SetSelected(node); // creates its item, not its children's
    return ExpandNative(tree.Handle(), static_cast<HTREEITEM>(node->NativeItem()));
}

// A native tree in a window of its own, without the framework, shown with
// `font`.
HWND ShowPlainTree(HFONT font)
{
    HWND tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_OVERLAPPEDWINDOW | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 400,
                                  600, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::ShowWindow(tree, SW_SHOW);
    return tree;
}

// What a tree pays for its vertical scroll bar when a node first fills
// more than a page: the bar shown, then its range set and drawn at once.
void ReportScrollBarCosts(HFONT font)
{
    HWND tree = ShowPlainTree(font);
    ::RedrawWindow(tree, nullptr, nullptr, RDW_UPDATENOW);
    const double start = Seconds();
    ::ShowScrollBar(tree, SB_VERT, TRUE);
    Report("show_scroll_bar_s", Seconds() - start);
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    range.nMax = 1000;
    range.nPage = 30;
    range.nPos = 10;
    const double set = Seconds();
    ::SetScrollInfo(tree, SB_VERT, &range, TRUE);
    Report("set_scroll_info_s", Seconds() - set);
    ::DestroyWindow(tree);
}

// What one selection of `font` into a device context of `window` costs:
// the tree selects its font once for every item whose text it measures.
double SelectFontSeconds(HWND window, HFONT font)
{
    constexpr int kSelections = 20000;
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, font);
    const double start = Seconds();
    for (int i = 0; i < kSelections; ++i)
        ::SelectObject(dc, font);
    const double each = (Seconds() - start) / kSelections;
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return each;
}

int Expand(const String& benchRoot)
{
    TSearchWindow* window = ShowMainWindow();
    TTreeView& tree = *window->T_TREEVIEW_SEARCH;
    TTreeNode* bench = Find(tree.Items.GetFirstNode(), benchRoot);
    TTreeNode* wide = Find(bench, "wide");
    TTreeNode* k1000 = Find(bench, "k1000");
    if (!wide || !k1000) {
        std::fprintf(stderr, "no %s\\wide or %s\\k1000 on drive C\n", benchRoot.c_str(), benchRoot.c_str());
        return 1;
    }
    std::vector<std::wstring> texts;
    for (TTreeNode* child = wide->getFirstChild(); child; child = child->getNextSibling())
        texts.push_back(Widen(child->Text()));
    Report("wide_children", static_cast<double>(texts.size()));
    const ExpandTimes small = ExpandTimed(tree, k1000);
    Report("k1000_expand_s", small.Total());
    Report("k1000_message_s", small.message);
    Report("k1000_draw_s", small.drawing);
    Report("wide_expand_s", ExpandTimed(tree, wide).Total());
    // Scrolling through the expanded node, a page at a time.
    const double scrollStart = Seconds();
    for (int page = 0; page < 50; ++page) {
        ::SendMessageW(tree.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
        ::RedrawWindow(tree.Handle(), nullptr, nullptr, RDW_UPDATENOW);
    }
    Report("page_scroll_s", (Seconds() - scrollStart) / 50);
    // The window's font is left at the default quality; the tree's names it.
    const auto treeFont = reinterpret_cast<HFONT>(::SendMessageW(tree.Handle(), WM_GETFONT, 0, 0));
    Report("select_default_font_s", SelectFontSeconds(tree.Handle(), window->FontHandle()));
    Report("select_tree_font_s", SelectFontSeconds(tree.Handle(), treeFont));

    // The same number of items put into a plain native tree, as the control
    // takes them fastest: text given, under a collapsed parent.
    HWND plain = ShowPlainTree(treeFont);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    wchar_t parentText[] = L"parent";
    insert.item.pszText = parentText;
    auto parent =
        reinterpret_cast<HTREEITEM>(::SendMessageW(plain, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    const double insertStart = Seconds();
    insert.hParent = parent;
    for (std::wstring& text : texts) {
        insert.item.pszText = text.data();
        ::SendMessageW(plain, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    Report("plain_insert_s", Seconds() - insertStart);
    Report("plain_expand_s", ExpandNative(plain, parent).Total());
    // What closing a window costs once a wide node's items exist.
    const double deleteStart = Seconds();
    ::SendMessageW(plain, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    Report("plain_delete_s", Seconds() - deleteStart);
    // And 1,000 of them put in and shown at once: the least a small node's
    // first expansion could take.
    insert.hParent = TVI_ROOT;
    insert.item.pszText = parentText;
    parent = reinterpret_cast<HTREEITEM>(::SendMessageW(plain, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    const double smallStart = Seconds();
    insert.hParent = parent;
    for (std::size_t i = 0; i < 1000 && i < texts.size(); ++i) {
        insert.item.pszText = texts[i].data();
        ::SendMessageW(plain, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    const double smallInserted = Seconds() - smallStart;
    const ExpandTimes plainSmall = ExpandNative(plain, parent);
    Report("plain_k1000_s", smallInserted + plainSmall.Total());
    Report("plain_k1000_message_s", plainSmall.message);
    ::DestroyWindow(plain);
    ReportScrollBarCosts(treeFont);
    Close(window);
    return 0;
}

int Jump(const String& benchRoot)
{
    TSearchWindow* window = ShowMainWindow();
    TTreeNode* wide = Find(Find(window->T_TREEVIEW_SEARCH->Items.GetFirstNode(), benchRoot), "wide");
    TTreeNode* last = wide ? wide->getFirstChild() : nullptr;
    while (last && last->getNextSibling())
        last = last->getNextSibling();
    if (!last)
        return 1;
    const String path = "C:\\" + benchRoot + "\\wide\\" + last->Text();
    // The part of the jump that only compares names, on its own.
    const double walkStart = Seconds();
    WalkAddress(path, window->T_TREEVIEW_SEARCH->Items.GetFirstNode(),
                [](const String& text, const String& component) { return AnsiCompareText(text, component) == 0; });
    Report("address_walk_s", Seconds() - walkStart);
    window->T_EDIT_SEARCH->SetText(path);
    const double start = Seconds();
    window->BTNSearch(window->T_BTN_SEARCH);
    ::RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Report("jump_s", Seconds() - start);
    Report("jumped", window->T_TREEVIEW_SEARCH->Selected() == last && window->T_EDIT_SEARCH->Text() == path + "\\");
    Close(window);
    return 0;
}

// What a user of a very large drive meets after start-up: a jump through
// the address bar to FOLDER, collapsing and opening the root again, and
// closing the window; then the process's peak address space against what
// it may use.
int Million(const String& folder)
{
    Phases phases;
    TSearchWindow* window = ShowMainWindow(phases);
    Report("startup_s", phases.end[Phases::kCount - 1] - phases.start.seconds);
    const double nodes = static_cast<double>(window->T_TREEVIEW_SEARCH->Items.Count());
    Report("nodes", nodes);
    ReportWalkers(phases.start, nodes);

    window->T_EDIT_SEARCH->SetText(folder);
    const double jumpStart = Seconds();
    window->BTNSearch(window->T_BTN_SEARCH);
    ::RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Report("jump_s", Seconds() - jumpStart);
    const TTreeNode* selected = window->T_TREEVIEW_SEARCH->Selected();
    Report("jumped", selected && static_cast<const TTreeDataSearch*>(selected->Data)->Path == folder + "\\");

    const HWND tree = window->T_TREEVIEW_SEARCH->Handle();
    const auto root = static_cast<HTREEITEM>(window->T_TREEVIEW_SEARCH->Items.GetFirstNode()->NativeItem());
    const double collapseStart = Seconds();
    ::SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root));
    ::RedrawWindow(tree, nullptr, nullptr, RDW_UPDATENOW);
    Report("collapse_root_s", Seconds() - collapseStart);
    const double openStart = Seconds();
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    ::RedrawWindow(tree, nullptr, nullptr, RDW_UPDATENOW);
    Report("open_root_s", Seconds() - openStart);

    // Closing as the user does: the close handler releases the records,
    // then the window and its tree go.
    const HWND handle = window->Handle();
    const double closeStart = Seconds();
    Close(window);
    Report("close_s", Seconds() - closeStart);
    Report("window_gone", ::IsWindow(handle) ? 0 : 1);
    Report("released_all", TTreeDataSearch::Released() == TTreeDataSearch::Created() ? 1 : 0);

    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters) &&
        ::GlobalMemoryStatusEx(&status)) {
        Report("peak_working_set_bytes", static_cast<double>(counters.PeakWorkingSetSize));
        Report("peak_private_bytes", static_cast<double>(counters.PeakPagefileUsage));
        Report("address_space_bytes", static_cast<double>(status.ullTotalVirtual));
    }
    return 0;
}

int List(const String& folder)
{
    Application->Initialize();
    auto* window = new TSearchWindow(Application);
    window->Show();
    window->DrainTrace();
    ::RedrawWindow(window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double start = Seconds();
    window->ListFolder(folder);
    ::RedrawWindow(window->T_LISTVIEW_SEARCH->Handle(), nullptr, nullptr, RDW_UPDATENOW);
    Report("list_s", Seconds() - start);
    const double drainStart = Seconds();
    window->DrainTrace();
    Report("drain_s", Seconds() - drainStart);
    Report("rows", window->T_LISTVIEW_SEARCH->Items.Count());
    Report("pid", ::GetCurrentProcessId());
    // What the lines should say, worked out here from a search of its own.
    platform::FolderSearch search(SearchPattern(folder));
    while (const WIN32_FIND_DATAW* entry = search.Next()) {
        const String name = Narrow(entry->cFileName);
        if (IsListedName(name))
            std::printf("trace=file name : [%s], file_size[%" PRIu64 "]\n", name.c_str(),
                        (static_cast<std::uint64_t>(entry->nFileSizeHigh) << 32) | entry->nFileSizeLow);
    }
    Close(window);
    return 0;
}

// The rows' texts made the same way, kept in memory, shown nowhere.
int Enumerate(const String& folder)
{
    struct Row {
        String name;
        int image;
        String size;
        String date;
    };
    std::vector<Row> rows;
    const double start = Seconds();
    platform::FolderSearch search(SearchPattern(folder));
    while (const WIN32_FIND_DATAW* entry = search.Next()) {
        String name = Narrow(entry->cFileName);
        if (!IsListedName(name))
            continue;
        const bool isFolder = (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::uint64_t size = (static_cast<std::uint64_t>(entry->nFileSizeHigh) << 32) | entry->nFileSizeLow;
        SYSTEMTIME local{};
        platform::FileTimeToLocalSystemTime(entry->ftLastWriteTime, local);
        rows.push_back({std::move(name), isFolder ? kFolderImage : kFileImage, SizeText(isFolder, size),
                        FormatDateTime(kListDateFormat, SystemTimeToDateTime(local))});
    }
    Report("enum_s", Seconds() - start);
    Report("rows", static_cast<double>(rows.size()));
    return 0;
}

// Answers every string at once, as a monitor such as DebugView does.
int Monitor(const String& stopFile)
{
    constexpr DWORD kBufferSize = 4096;
    HANDLE bufferReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    HANDLE dataReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    HANDLE mapping =
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize, L"DBWIN_BUFFER");
    const char* view =
        mapping ? static_cast<const char*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kBufferSize)) : nullptr;
    if (!bufferReady || !dataReady || !view)
        return 1;
    std::printf("ready=1\n");
    std::fflush(stdout);
    // The buffer is offered again only once a string was taken out of it:
    // offered again after a wait that timed out as well, it could take a
    // second string before the first was read, which was then lost.
    ::SetEvent(bufferReady);
    for (;;) {
        if (::WaitForSingleObject(dataReady, 50) != WAIT_OBJECT_0) {
            if (::GetFileAttributesW(Widen(stopFile).c_str()) != INVALID_FILE_ATTRIBUTES)
                break;
            continue;
        }
        DWORD pid = 0;
        std::memcpy(&pid, view, sizeof pid);
        char text[kBufferSize - sizeof(DWORD) + 1] = {};
        std::memcpy(text, view + sizeof pid, kBufferSize - sizeof pid);
        std::printf("line=%lu\t%s\n", static_cast<unsigned long>(pid), AnsiToUtf8(text).c_str());
        ::SetEvent(bufferReady);
    }
    ::UnmapViewOfFile(view);
    ::CloseHandle(mapping);
    ::CloseHandle(dataReady);
    ::CloseHandle(bufferReady);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    ReportProcessStart();
    const String mode = argc > 1 ? argv[1] : "";
    const String argument = argc > 2 ? argv[2] : "";
#if defined(_WIN64)
    std::printf("build=PE32+ (x86-64)\n");
#else
    std::printf("build=PE32 (i686)\n");
#endif
    if (mode == "startup")
        return Startup();
    if (mode == "memory")
        return Memory();
    if (mode == "walk" && argc > 2)
        return Walk(static_cast<unsigned>(std::atoi(argv[2])));
    if (mode == "productwalk")
        return ProductWalk();
    if (mode == "expand" && argc > 2)
        return Expand(argument);
    if (mode == "jump" && argc > 2)
        return Jump(argument);
    if (mode == "million" && argc > 2)
        return Million(argument);
    if (mode == "list" && argc > 2)
        return List(argument);
    if (mode == "enum" && argc > 2)
        return Enumerate(argument);
    if (mode == "monitor" && argc > 2)
        return Monitor(argument);
    std::fprintf(stderr,
                 "usage: tamsaek_bench startup | memory | walk THREADS | expand ROOT | jump ROOT | million FOLDER\n"
                 "                     | list FOLDER | enum FOLDER | monitor STOPFILE\n");
    return 2;
}
