// The three ways to another folder: a click in the tree, a double-click on a
// folder row, and a path typed into the address bar. The tree is the only
// map: a folder is listed through its node, never straight from typed text.
#include "browser/AddressWalk.h"
#include "browser/SearchWindow.h"
#include "platform/SysUtils.h"
#include "ui/Dialogs.h"

namespace {

constexpr char kNotAFolder[] = "알맞은 경로가 아닙니다.";

const TTreeDataSearch* RecordOf(const TTreeNode* node)
{
    return node ? static_cast<const TTreeDataSearch*>(node->Data) : nullptr;
}

} // namespace

void TSearchWindow::ShowTest(TObject*)
{
    if (const TTreeDataSearch* record = RecordOf(T_TREEVIEW_SEARCH->Selected()))
        ListFolder(record->Path);
}

void TSearchWindow::ActionListView(TObject*)
{
    const TListItem* row = T_LISTVIEW_SEARCH->Selected();
    if (!row)
        return;
    // Copied: listing replaces the rows.
    const String name = row->Caption;
    // The joined text only tells whether the row is a folder; what is listed
    // comes from the tree.
    if (!DirectoryExists(T_EDIT_SEARCH->Text() + name))
        return;
    TTreeNode* selected = T_TREEVIEW_SEARCH->Selected();
    if (!selected)
        return;
    for (TTreeNode* child = selected->getFirstChild(); child; child = child->getNextSibling())
        if (child->Text() == name) {
            T_TREEVIEW_SEARCH->SetSelected(child);
            break;
        }
    if (const TTreeDataSearch* record = RecordOf(T_TREEVIEW_SEARCH->Selected()))
        ListFolder(record->Path);
}

void TSearchWindow::BTNSearch(TObject*)
{
    const String typed = T_EDIT_SEARCH->Text();
    if (!DirectoryExists(typed)) {
        ShowMessage(kNotAFolder);
        return;
    }
    TTreeNode* reached =
        WalkAddress(typed, T_TREEVIEW_SEARCH->Items.GetFirstNode(),
                    [](const String& text, const String& component) { return AnsiCompareText(text, component) == 0; });
    if (!reached)
        return;
    T_TREEVIEW_SEARCH->SetSelected(reached);
    ShowTest(nullptr);
}
