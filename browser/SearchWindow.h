#pragma once
// The folder browser: the folder tree of drive C on the left, the entries
// of one folder on the right, an address bar above.
#include "browser/RecordStore.h"
#include "platform/DebugOutputSender.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <atomic>
#include <memory>

// Hung on every folder node: the folder's full path, ending in a backslash.
// The window owns every record; a node only points at its own.
struct TTreeDataSearch {
    explicit TTreeDataSearch(String path);
    ~TTreeDataSearch();
    TTreeDataSearch(const TTreeDataSearch&) = delete;
    TTreeDataSearch& operator=(const TTreeDataSearch&) = delete;

    String Path;

    // Records made and released so far in this process: the two must meet
    // once the window has closed.
    static long Created() { return created_; }
    static long Released() { return released_; }

private:
    static inline std::atomic<long> created_{0};
    static inline std::atomic<long> released_{0};
};

class TSearchWindow : public TForm {
public:
    explicit TSearchWindow(TComponent* owner);
    ~TSearchWindow() override;

    TTreeView* T_TREEVIEW_SEARCH = nullptr;
    TListView* T_LISTVIEW_SEARCH = nullptr;
    TSplitter* T_CENBAR = nullptr;
    TPanel* Panel1 = nullptr;
    TEdit* T_EDIT_SEARCH = nullptr;
    TLabel* T_LABEL_SEARCH = nullptr;
    TButton* T_BTN_SEARCH = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TImageList* T_ICON_SEARCH = nullptr;
    TButton* Button1 = nullptr;

    void ShowWnd(TObject* sender);
    void ShowTest(TObject* sender);
    void ActionListView(TObject* sender);
    void CloseSearch(TObject* sender, TCloseAction& action);
    void BTNSearch(TObject* sender);
    // Opens the system-information window modally.
    void Button1Click(TObject* sender);

    // Fills the list with the entries of one folder and shows its path in
    // the address bar.
    void ListFolder(const String& path);
    // printf-style text to the debugger output, cut to 1023 bytes.
    void DebugTrace(const char* format, ...);
    // Returns once every trace line sent so far has been delivered.
    void DrainTrace() { trace_.Drain(); }

    static const FormClass& Class();

private:
    struct DriveWalk;
    static std::unique_ptr<DriveWalk> StartDriveWalk();

    void AddSubfolders(const String& path, TTreeNode* parent);
    void FreeNodePaths(TTreeNode* node);
    void ReleaseRecord(TTreeNode& node);
    // Releases every record of the tree, children before their parents.
    void ReleaseTree();

    // The tree's path records: released children first by CloseSearch, and
    // those still held when the window goes without closing, with it.
    RecordStore<TTreeDataSearch> records_;

    // The searches of drive C start before the window is built, so that
    // they run while it is; ShowWnd takes the tree from them.
    std::unique_ptr<DriveWalk> driveWalk_;
    // The user stopped the walk from the progress window: the program ends
    // without showing this window.
    bool walkStopped_ = false;

    // Trace lines wait for a listening monitor's answer: they are sent from
    // a thread of their own, after the list they describe is shown.
    platform::DebugOutputSender trace_;
};

extern TSearchWindow* SearchWindow;
