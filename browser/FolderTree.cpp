// The folder tree of drive C: searched from the moment the window is made,
// built while it is created, its path records released when it closes.
#include "browser/DriveWalk.h"
#include "browser/WalkProgress.h"
#include "ui/Application.h"

#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr char kRootPath[] = "C:\\";
constexpr char kRootText[] = "C 드라이브";
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

// The searches wait on the file system most of the time: two threads
// search, the window's own thread builds the tree from what they found.
// Even on one core one thread searches, so that the window's own thread
// stays free for the progress window and its button.
unsigned SearchThreads()
{
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
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
    if (walkStopped_) {
        // As if the window had been closed, before it was ever shown.
        ReleaseTree();
        Application->Terminate();
    }
}

void TSearchWindow::AddSubfolders(const String& path, TTreeNode* parent)
{
    // The walk started with the window is taken once, for the folder it
    // searches; any other is walked now.
    std::unique_ptr<DriveWalk> started = std::move(driveWalk_);
    if (!started || started->walk.RootPath() != path) {
        started.reset();
        started = std::make_unique<DriveWalk>(path);
    }
    FolderTreeWalk<DiskFolderSource>& walk = started->walk;

    // A long walk shows how far it has come, and can be stopped there; a
    // short one shows nothing.
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
        if (progress->StopAsked())
            walk.Stop();
    };
    auto addChild = [this](TTreeNode* under, std::string_view name, String childPath) {
        return T_TREEVIEW_SEARCH->Items.AddChildObject(under, String(name), records_.Add(std::move(childPath)));
    };
    walkStopped_ = !walk.Build(parent, addChild, report);
    // A request that came as the last folder was read still counts.
    if (progress) {
        progress->ProcessInput();
        walkStopped_ = walkStopped_ || progress->StopAsked();
    }
}

void TSearchWindow::CloseSearch(TObject*, TCloseAction&)
{
    ReleaseTree();
}

void TSearchWindow::ReleaseTree()
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
