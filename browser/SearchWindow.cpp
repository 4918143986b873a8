#include "browser/SearchWindow.h"

#include "browser/DriveWalk.h"

TSearchWindow* SearchWindow = nullptr;

TTreeDataSearch::TTreeDataSearch(String path) : Path(std::move(path))
{
    ++created_;
}

TTreeDataSearch::~TTreeDataSearch()
{
    ++released_;
}

const FormClass& TSearchWindow::Class()
{
    using W = TSearchWindow;
    static const FormClass formClass{"TSearchWindow",
                                     {
                                         Published("T_TREEVIEW_SEARCH", &W::T_TREEVIEW_SEARCH),
                                         Published("T_LISTVIEW_SEARCH", &W::T_LISTVIEW_SEARCH),
                                         Published("T_CENBAR", &W::T_CENBAR),
                                         Published("Panel1", &W::Panel1),
                                         Published("T_EDIT_SEARCH", &W::T_EDIT_SEARCH),
                                         Published("T_LABEL_SEARCH", &W::T_LABEL_SEARCH),
                                         Published("T_BTN_SEARCH", &W::T_BTN_SEARCH),
                                         Published("StatusBar1", &W::StatusBar1),
                                         Published("T_ICON_SEARCH", &W::T_ICON_SEARCH),
                                         Published("Button1", &W::Button1),
                                         Published("ShowWnd", &W::ShowWnd),
                                         Published("ShowTest", &W::ShowTest),
                                         Published("ActionListView", &W::ActionListView),
                                         Published("CloseSearch", &W::CloseSearch),
                                         Published("BTNSearch", &W::BTNSearch),
                                         Published("Button1Click", &W::Button1Click),
                                     }};
    return formClass;
}

TSearchWindow::TSearchWindow(TComponent* owner) : TForm(owner), driveWalk_(StartDriveWalk())
{
    BuildFromLayout(L"SEARCHWINDOW", Class());
}
