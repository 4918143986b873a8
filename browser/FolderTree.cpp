// The folder tree of drive C: searched from the moment the window is made,
// built while it is created, its path records released when it closes.
#include "browser/DriveWalk.h"
#include "browser/WalkProgress.h"

#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr char kRootPath[] = "C:\\";
constexpr char kRootText[] = "C 드라이브";
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

// The searches wait on the file system most of the time: two threads
// search, the window's own thread builds the tree from what they found.
unsigned SearchThreads()
{
    return std::thread::hardware_concurrency() >= 2 ? 2 : 0;
}

} // namespace

TSearchWindow::DriveWalk::DriveWalk(const String& rootPath) : walk(disk, rootPath, SearchThreads()) {}

std::unique_ptr<TSearchWindow::DriveWalk> TSearchWindow::StartDriveWalk()
{
    return std::make_unique<DriveWalk>(kRootPath);
}

TSearchWindow::~TSearchWindow() = default;

void TSearchWindow::ShowWnd(TObject*)
{
    T_TREEVIEW_SEARCH->Items.Clear();
    ListFolder(kRootPath);
    TTreeNode* root = T_TREEVIEW_SEARCH->Items.AddObject(nullptr, kRootText, records_.Add(kRootPath));
    AddSubfolders(kRootPath, root);
}

void TSearchWindow::AddSubfolders(const String& path, TTreeNode* parent)
{
    // A long walk shows how far it has come; a short one shows nothing.
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<TWalkProgress> progress;
    auto report = [&](std::size_t foldersRead, const String& folderBeingRead) {
        if (!progress) {
            if (std::chrono::steady_clock::now() - start < kProgressDelay)
                return;
            progress = std::make_unique<TWalkProgress>(nullptr);
            progress->Show();
        }
        progress->Report(foldersRead, folderBeingRead);
    };
    auto addChild = [this](TTreeNode* under, std::string_view name, String childPath) {
        return T_TREEVIEW_SEARCH->Items.AddChildObject(under, String(name), records_.Add(std::move(childPath)));
    };
    // The walk started with the window is taken once, for the folder it
    // searches; any other is walked now.
    std::unique_ptr<DriveWalk> started = std::move(driveWalk_);
    if (started && started->walk.RootPath() == path) {
        started->walk.Build(parent, addChild, report);
        return;
    }
    started.reset();
    DiskFolderSource disk;
    FolderTreeWalk<DiskFolderSource>(disk, path, SearchThreads()).Build(parent, addChild, report);
}

void TSearchWindow::CloseSearch(TObject*, TCloseAction&)
{
    TTreeNode* root = T_TREEVIEW_SEARCH->Items.GetFirstNode();
    if (!root)
        return;
    FreeNodePaths(root);
    ReleaseRecord(*root);
}

void TSearchWindow::FreeNodePaths(TTreeNode* node)
{
    VisitBelowChildrenFirst(*node, [this](TTreeNode& below) { ReleaseRecord(below); });
}

void TSearchWindow::ReleaseRecord(TTreeNode& node)
{
    records_.Release(static_cast<TTreeDataSearch*>(node.Data));
    // A late click finds no record rather than a released one.
    node.Data = nullptr;
}
