// The folder tree of drive C: built once when the window is created, its
// path records released when the window closes.
#include "browser/FolderSource.h"
#include "browser/FolderWalk.h"
#include "browser/SearchWindow.h"
#include "browser/WalkProgress.h"

#include <chrono>
#include <memory>
#include <thread>

namespace {

constexpr char kRootPath[] = "C:\\";
constexpr char kRootText[] = "C 드라이브";
constexpr auto kProgressDelay = std::chrono::milliseconds(500);

} // namespace

void TSearchWindow::ShowWnd(TObject*)
{
    T_TREEVIEW_SEARCH->Items.Clear();
    ListFolder(kRootPath);
    TTreeNode* root = T_TREEVIEW_SEARCH->Items.AddObject(nullptr, kRootText, records_.Add(kRootPath));
    AddSubfolders(kRootPath, root);
}

void TSearchWindow::AddSubfolders(const String& path, TTreeNode* parent)
{
    // The searches wait on the file system most of the time: two threads
    // search, this one builds the tree from what they found.
    const unsigned workers = std::thread::hardware_concurrency() >= 2 ? 2 : 0;
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
    DiskFolderSource disk;
    WalkFolders(
        disk, path, parent,
        [this](TTreeNode* under, std::string_view name, String childPath) {
            return T_TREEVIEW_SEARCH->Items.AddChildObject(under, String(name), records_.Add(std::move(childPath)));
        },
        workers, report);
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
