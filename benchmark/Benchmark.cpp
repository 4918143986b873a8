// Measures the product's own start-up, listing and interaction paths against
// bare baselines, one measurement per process so that every round starts
// from the same state. Prints "key=value" lines for ./bench to gather.
//
//   tamsaek_bench startup ROOT DEEP     the main window's creation (tree walk and list of C:\),
//                                      memory per node, first expands, a jump to DEEP, closing
//   tamsaek_bench walk [START_AT]      a bare single-threaded walk of C:\ with the same searches,
//                                      begun at START_AT (Unix time in ms) when given
//   tamsaek_bench walk2                two bare walks at once on two threads of this process
//   tamsaek_bench straight             every folder inserted into a native tree as it is found
//   tamsaek_bench list FOLDER          ListFolder of FOLDER
//   tamsaek_bench enum FOLDER          bare enumeration of FOLDER with the same texts
#include "browser/FileRow.h"
#include "browser/FolderSource.h"
#include "browser/FolderWalk.h"
#include "browser/SearchWindow.h"
#include "platform/FolderSearch.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

double Seconds()
{
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
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

// FNV-1a over the folders' paths in depth-first order: equal digests mean
// equal trees, node for node, siblings in the same order.
class Digest {
public:
    void Add(const String& path)
    {
        for (unsigned char c : path)
            value_ = (value_ ^ c) * 1099511628211ull;
        value_ = (value_ ^ '\n') * 1099511628211ull;
        ++count_;
    }
    std::uint64_t Value() const { return value_; }
    std::size_t Count() const { return count_; }

private:
    std::uint64_t value_ = 1469598103934665603ull;
    std::size_t count_ = 0;
};

void DigestTree(const TTreeNode* root, Digest& digest)
{
    std::vector<const TTreeNode*> pending{root};
    while (!pending.empty()) {
        const TTreeNode* node = pending.back();
        pending.pop_back();
        digest.Add(static_cast<const TTreeDataSearch*>(node->Data)->Path);
        std::vector<const TTreeNode*> children;
        for (const TTreeNode* child = node->getFirstChild(); child; child = child->getNextSibling())
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

void Report(const char* key, double value)
{
    std::printf("%s=%.6f\n", key, value);
}

TTreeNode* Find(TTreeNode* parent, const String& text)
{
    for (TTreeNode* child = parent->getFirstChild(); child; child = child->getNextSibling())
        if (child->Text() == text)
            return child;
    return nullptr;
}

double ExpandSeconds(TTreeView& tree, TTreeNode* node)
{
    tree.SetSelected(node); // creates its item, not its children's
    const double start = Seconds();
    ::SendMessageW(tree.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->NativeItem()));
    return Seconds() - start;
}

int Startup(const String& benchRoot, const String& deep)
{
    const std::uint64_t before = PrivateBytes();
    const long recordsBefore = TTreeDataSearch::Created();
    const double start = Seconds();
    auto* window = new TSearchWindow(Application);
    const double startup = Seconds() - start;
    const std::uint64_t after = PrivateBytes();
    TTreeView& tree = *window->T_TREEVIEW_SEARCH;
    const double nodes = static_cast<double>(tree.Items.Count());

    Digest digest;
    DigestTree(tree.Items.GetFirstNode(), digest);

    TTreeNode* root = tree.Items.GetFirstNode();
    TTreeNode* bench = Find(root, benchRoot);
    double expand = ExpandSeconds(tree, root);
    if (bench) {
        expand = std::max(expand, ExpandSeconds(tree, bench));
        TTreeNode* deepest = bench;
        while (deepest->getFirstChild())
            deepest = deepest->getFirstChild();
        expand = std::max(expand, ExpandSeconds(tree, deepest->Parent()));
    }
    window->T_EDIT_SEARCH->SetText(deep);
    const double jumpStart = Seconds();
    window->BTNSearch(window->T_BTN_SEARCH);
    const double jump = Seconds() - jumpStart;
    const bool jumped = window->T_EDIT_SEARCH->Text() == deep + "\\";

    const double closeStart = Seconds();
    TCloseAction action = caHide;
    window->CloseSearch(window, action);
    delete window;
    const double close = Seconds() - closeStart;

    Report("startup_s", startup);
    Report("nodes", nodes);
    Report("records", static_cast<double>(TTreeDataSearch::Created() - recordsBefore));
    Report("released_all", TTreeDataSearch::Released() == TTreeDataSearch::Created() ? 1 : 0);
    Report("bytes_per_node", static_cast<double>(after - before) / nodes);
    Report("expand_s", expand);
    Report("jump_s", jump);
    Report("jumped", jumped ? 1 : 0);
    Report("close_s", close);
    std::printf("digest=%016llx\n", static_cast<unsigned long long>(digest.Value()));
    return 0;
}

// The same searches as the product's walk, recursive, building nothing.
void BareWalk(const String& path, bool isLink, Digest& digest)
{
    digest.Add(path);
    DiskFolderSource disk;
    if (isLink && LeadsToAncestor(disk, path))
        return;
    std::vector<std::pair<String, bool>> children;
    platform::FolderSearch search(path + "*.*");
    while (const WIN32_FIND_DATAW* entry = search.Next()) {
        const String name = Narrow(entry->cFileName);
        if (IsTreeFolder(name, entry->dwFileAttributes))
            children.emplace_back(path + name + "\\", (entry->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
    }
    for (const auto& [child, link] : children)
        BareWalk(child, link, digest);
}

// Lets two processes begin their walks together, whenever each started.
void WaitUntil(long long unixMilliseconds)
{
    constexpr long long kUnixEpochInFileTime = 11644473600000LL; // ms from 1601 to 1970
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const long long nowMs =
        static_cast<long long>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000) -
        kUnixEpochInFileTime;
    if (unixMilliseconds > nowMs)
        ::Sleep(static_cast<DWORD>(std::min(unixMilliseconds - nowMs, 60'000LL)));
}

int Walk(long long startAt)
{
    WaitUntil(startAt);
    Digest digest;
    const double start = Seconds();
    BareWalk("C:\\", false, digest);
    Report("walk_s", Seconds() - start);
    Report("nodes", static_cast<double>(digest.Count()));
    std::printf("digest=%016llx\n", static_cast<unsigned long long>(digest.Value()));
    return 0;
}

// Two whole walks at once in one process: how far two searching threads
// get when nothing at all is shared between them.
int WalkTwice()
{
    Digest first;
    Digest second;
    const double start = Seconds();
    std::thread other([&] { BareWalk("C:\\", false, second); });
    BareWalk("C:\\", false, first);
    other.join();
    Report("walk2_s", Seconds() - start);
    Report("nodes", static_cast<double>(first.Count()));
    std::printf("digest=%016llx\n", static_cast<unsigned long long>(first.Value()));
    return first.Value() == second.Value() ? 0 : 1;
}

// Every folder inserted into the native tree as it is found, as a plain
// recursive walk would do it; kept here only as the reference.
void StraightWalk(HWND tree, const String& path, bool isLink, HTREEITEM parent, Digest& digest,
                  std::vector<TTreeDataSearch*>& records)
{
    DiskFolderSource disk;
    if (isLink && LeadsToAncestor(disk, path))
        return;
    platform::FolderSearch search(path + "*.*");
    while (const WIN32_FIND_DATAW* entry = search.Next()) {
        const String name = Narrow(entry->cFileName);
        if (!IsTreeFolder(name, entry->dwFileAttributes))
            continue;
        auto* record = new TTreeDataSearch(path + name + "\\");
        records.push_back(record);
        digest.Add(record->Path);
        std::wstring text = entry->cFileName;
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.lParam = reinterpret_cast<LPARAM>(record);
        auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        StraightWalk(tree, record->Path, (entry->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0, item, digest,
                     records);
    }
}

int Straight()
{
    HWND tree = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_OVERLAPPEDWINDOW | TVS_HASBUTTONS | TVS_HASLINES, 0, 0,
                                  400, 600, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    Digest digest;
    std::vector<TTreeDataSearch*> records;
    const std::uint64_t before = PrivateBytes();
    const double start = Seconds();
    auto* root = new TTreeDataSearch("C:\\");
    records.push_back(root);
    digest.Add(root->Path);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    wchar_t rootText[] = L"C 드라이브";
    insert.item.pszText = rootText;
    insert.item.lParam = reinterpret_cast<LPARAM>(root);
    auto rootItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    StraightWalk(tree, "C:\\", false, rootItem, digest, records);
    const double built = Seconds() - start;
    const std::uint64_t after = PrivateBytes();
    const double closeStart = Seconds();
    for (TTreeDataSearch* record : records)
        delete record;
    ::DestroyWindow(tree);
    const double close = Seconds() - closeStart;
    Report("straight_s", built);
    Report("nodes", static_cast<double>(digest.Count()));
    Report("bytes_per_node", static_cast<double>(after - before) / static_cast<double>(digest.Count()));
    Report("close_s", close);
    std::printf("digest=%016llx\n", static_cast<unsigned long long>(digest.Value()));
    return 0;
}

int List(const String& folder)
{
    auto* window = new TSearchWindow(Application);
    const double start = Seconds();
    window->ListFolder(folder);
    const double list = Seconds() - start;
    Report("list_s", list);
    Report("rows", window->T_LISTVIEW_SEARCH->Items.Count());
    TCloseAction action = caHide;
    window->CloseSearch(window, action);
    delete window;
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

} // namespace

int main(int argc, char** argv)
{
    Application->Initialize();
    const String mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc > 3)
        return Startup(argv[2], argv[3]);
    if (mode == "walk")
        return Walk(argc > 2 ? std::atoll(argv[2]) : 0);
    if (mode == "walk2")
        return WalkTwice();
    if (mode == "straight")
        return Straight();
    if (mode == "list" && argc > 2)
        return List(argv[2]);
    if (mode == "enum" && argc > 2)
        return Enumerate(argv[2]);
    std::fprintf(stderr, "usage: tamsaek_bench startup ROOT DEEP | walk [START_AT] | walk2 | straight"
                         " | list FOLDER | enum FOLDER\n");
    return 2;
}
