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

TTreeNode* DeepestFirstChild(TTreeNode* node)
{
    while (TTreeNode* child = node->getFirstChild())
        node = child;
    return node;
}

void ReleaseRecord(TTreeNode& node)
{
    delete static_cast<TTreeDataSearch*>(node.Data);
    // A late click finds no record rather than a released one.
    node.Data = nullptr;
}

} // namespace

void TSearchWindow::ShowWnd(TObject*)
{
    T_TREEVIEW_SEARCH->Items.Clear();
    ListFolder(kRootPath);
    T_EDIT_SEARCH->SetTextBuf(kRootPath);
    auto record = std::make_unique<TTreeDataSearch>(kRootPath);
    TTreeNode* root = T_TREEVIEW_SEARCH->Items.AddObject(nullptr, kRootText, record.get());
    record.release();
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
            auto record = std::make_unique<TTreeDataSearch>(std::move(childPath));
            TTreeNode* node = T_TREEVIEW_SEARCH->Items.AddChildObject(under, String(name), record.get());
            record.release();
            return node;
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
    // Every record goes after those of its descendants; no recursion, so
    // the depth of the tree does not matter.
    TTreeNode* first = node->getFirstChild();
    if (!first)
        return;
    TTreeNode* current = DeepestFirstChild(first);
    for (;;) {
        ReleaseRecord(*current);
        if (TTreeNode* next = current->getNextSibling()) {
            current = DeepestFirstChild(next);
        } else {
            current = current->Parent();
            if (current == node)
                return;
        }
    }
}
