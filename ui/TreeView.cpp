#include "ui/TreeView.h"

#include "base/WideText.h"
#include "ui/ImageList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

TTreeNode* NodeOf(HWND tree, HTREEITEM item)
{
    if (!item)
        return nullptr;
    TVITEMW query{};
    query.mask = TVIF_PARAM | TVIF_HANDLE;
    query.hItem = item;
    if (!::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
        return nullptr;
    return reinterpret_cast<TTreeNode*>(query.lParam);
}

HTREEITEM ItemOf(const TTreeNode& node)
{
    return static_cast<HTREEITEM>(node.NativeItem());
}

// Outside the image list: the control leaves room for the picture and draws
// nothing there, and the row's picture is drawn after the row (CustomDraw).
constexpr int kNoListPicture = -2;
// Every row shows the first picture of the list, selected or not.
constexpr int kRowPicture = 0;

// The quality a font left at DEFAULT_QUALITY gets on this system, named
// outright (DEFAULT_QUALITY itself when the system does not say).
BYTE SystemFontQuality()
{
    BOOL smoothing = FALSE;
    if (!::SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0))
        return DEFAULT_QUALITY;
    if (!smoothing)
        return NONANTIALIASED_QUALITY;
    UINT type = 0;
    if (!::SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0))
        return DEFAULT_QUALITY;
    return type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
}

} // namespace

TTreeView::TTreeView(TComponent* owner) : TControl(owner), Items(this) {}

TTreeView::~TTreeView()
{
    // The native items point at the nodes: they go first.
    DestroyHandle();
}

TControl::CreateParams TTreeView::CreationParams() const
{
    DWORD style = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    if (!hideSelection_)
        style |= TVS_SHOWSELALWAYS;
    if (!readOnly_)
        style |= TVS_EDITLABELS;
    return {WC_TREEVIEWW, style, WS_EX_CLIENTEDGE, false, nullptr};
}

void TTreeView::HandleCreated()
{
    UseExplicitQualityFont();
    ::SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
    if (images_)
        ::SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->getNextSibling())
        CreateItem(*node);
}

void TTreeView::PixelsChanged(int, int)
{
    // It has just been given its parent's new font.
    UseExplicitQualityFont();
    ::SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
    picture_.Clear();
}

void TTreeView::UseExplicitQualityFont()
{
    // The control selects its font once for every item whose text it
    // measures, and a node's first expansion measures all its children.
    // Wine asks for the system's smoothing again on every selection of a
    // font left at DEFAULT_QUALITY (some 25 us, against 2 us with the
    // quality named): the same font with the quality it stands for looks
    // the same and opens a node of 100,000 children several times faster.
    const auto current = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    LOGFONTW face{};
    if (!current || ::GetObjectW(current, sizeof face, &face) != sizeof face || face.lfQuality != DEFAULT_QUALITY)
        return;
    face.lfQuality = SystemFontQuality();
    if (face.lfQuality == DEFAULT_QUALITY)
        return;
    platform::Font font(::CreateFontIndirectW(&face));
    if (!font)
        return;
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);
}

void TTreeView::CreateItem(TTreeNode& node)
{
    // Text and expand button go in with the item: asked for by callback, the
    // control would send a notification per child when a node with a
    // hundred thousand children is first expanded, and keep a 520-byte
    // buffer for each of them.
    std::wstring text = Widen(node.Text());
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.Parent() ? ItemOf(*node.Parent()) : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.cChildren = node.HasChildren() ? 1 : 0;
    insert.item.iImage = kNoListPicture;
    insert.item.iSelectedImage = kNoListPicture;
    insert.item.lParam = reinterpret_cast<LPARAM>(&node);
    // Straight to the control's own procedure: a node's first expansion
    // inserts all its children at once, and each message sent would pass
    // the platform's dispatch and the framework's own on its way.
    auto item = reinterpret_cast<HTREEITEM>(DefaultProc(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    node.SetNativeItem(item);
}

void TTreeView::CreateChildItems(TTreeNode& node)
{
    if (node.ChildItemsCreated())
        return;
    node.SetChildItemsCreated(true);
    for (TTreeNode* child = node.getFirstChild(); child; child = child->getNextSibling())
        CreateItem(*child);
}

void TTreeView::NodeAdded(TTreeNode& node)
{
    if (!Handle())
        return;
    TTreeNode* parent = node.Parent();
    if (!parent || parent->ChildItemsCreated()) {
        CreateItem(node);
    } else if (parent->NativeItem() && parent->getFirstChild() == &node) {
        // The parent's expand button appears with its first child.
        TVITEMW change{};
        change.mask = TVIF_HANDLE | TVIF_CHILDREN;
        change.hItem = ItemOf(*parent);
        change.cChildren = 1;
        ::SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
    }
}

void TTreeView::NodesClearing()
{
    if (Handle())
        ::SendMessageW(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

TTreeNode* TTreeView::Selected() const
{
    if (!Handle())
        return nullptr;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    return NodeOf(Handle(), item);
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (!Handle())
        return;
    if (!node) {
        ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, 0);
        return;
    }
    std::vector<TTreeNode*> ancestors;
    for (TTreeNode* p = node->Parent(); p; p = p->Parent())
        ancestors.push_back(p);
    std::for_each(ancestors.rbegin(), ancestors.rend(), [this](TTreeNode* p) { CreateChildItems(*p); });
    ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(*node)));
    ::SendMessageW(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(ItemOf(*node)));
}

bool TTreeView::IsExpanded(const TTreeNode& node) const
{
    if (!Handle() || !node.NativeItem())
        return false;
    const LRESULT state =
        ::SendMessageW(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(ItemOf(node)), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void TTreeView::Click()
{
    if (onClick_)
        onClick_(this);
}

void TTreeView::SelectClickedItem()
{
    // The control reports the click before it moves the selection; the
    // handler must see the node under the mouse as selected.
    const DWORD at = ::GetMessagePos();
    TVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ::ScreenToClient(Handle(), &hit.pt);
    ::SendMessageW(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem && (hit.flags & TVHT_ONITEM))
        ::SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
}

std::optional<LRESULT> TTreeView::HandleNotify(NMHDR& header)
{
    switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        if ((change.action & TVE_EXPAND) && change.itemNew.lParam) {
            TTreeNode& node = *reinterpret_cast<TTreeNode*>(change.itemNew.lParam);
            if (node.getFirstChild())
                SuspendDrawing();
            CreateChildItems(node);
        }
        return FALSE;
    }
    case TVN_ITEMEXPANDEDW:
        ResumeDrawing();
        return 0;
    case TVN_ENDLABELEDITW: {
        auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
        auto* node = reinterpret_cast<TTreeNode*>(info.item.lParam);
        if (!node)
            node = NodeOf(Handle(), info.item.hItem);
        if (!node || !info.item.pszText)
            return FALSE;
        node->SetText(Narrow(info.item.pszText));
        return TRUE;
    }
    case NM_CUSTOMDRAW:
        return CustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
    case NM_CLICK:
        SelectClickedItem();
        Click();
        return 0;
    default:
        return std::nullopt;
    }
}

LRESULT TTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Drawing suspended while this message is handled is resumed when it
    // returns at the latest, whatever the control notified.
    class Depth {
    public:
        explicit Depth(TTreeView& tree) : tree_(tree) { ++tree_.messageDepth_; }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
        ~Depth()
        {
            if (tree_.drawingSuspendedAt_ == tree_.messageDepth_)
                tree_.ResumeDrawing();
            --tree_.messageDepth_;
        }

    private:
        TTreeView& tree_;
    } depth(*this);
    return TControl::WindowProc(message, wParam, lParam);
}

void TTreeView::SuspendDrawing()
{
    // While a node expands, the control shows or hides its scroll bar, sets
    // its range and scrolls the node up, and Wine draws each of those at
    // once, outside any paint: two thirds of the first expansion of a node
    // of 1,000 children. Kept from drawing meanwhile, the tree is drawn
    // once, by the next paint. Only within one of the window's own
    // messages, so that its end resumes drawing should the control never
    // say it has expanded the node.
    if (drawingSuspendedAt_ != 0 || messageDepth_ == 0 || !::IsWindowVisible(Handle()))
        return;
    // The default procedure's suspension: the control's own would still
    // draw its scroll bar.
    ::DefWindowProcW(Handle(), WM_SETREDRAW, FALSE, 0);
    drawingSuspendedAt_ = messageDepth_;
}

void TTreeView::ResumeDrawing()
{
    if (drawingSuspendedAt_ == 0)
        return;
    drawingSuspendedAt_ = 0;
    ::DefWindowProcW(Handle(), WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT TTreeView::CustomDraw(NMTVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        if (picture_.Empty() && images_)
            picture_.Prepare(images_->Handle(), kRowPicture);
        return picture_.Empty() ? CDRF_DODEFAULT : CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        // The picture sits just before the text, centred on the row, where
        // the control draws a picture of its image list.
        RECT text{};
        // The control reads the item from the start of the rectangle.
        const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
        static_assert(sizeof item <= sizeof text);
        std::memcpy(&text, &item, sizeof item);
        if (DefaultProc(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
            picture_.Draw(draw.nmcd.hdc, text.left - picture_.Width(),
                          (text.top + text.bottom) / 2 - picture_.Height() / 2);
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool TTreeView::SetLayoutProperty(const LayoutProperty& property)
{
    if (property.name == "HideSelection")
        hideSelection_ = LayoutBoolean(property);
    else if (property.name == "ReadOnly")
        readOnly_ = LayoutBoolean(property);
    else if (property.name == "Indent")
        indent_ = static_cast<int>(LayoutInteger(property));
    else
        return TControl::SetLayoutProperty(property);
    return true;
}

bool TTreeView::SetLayoutEvent(const String& event, TNotifyEvent handler)
{
    if (event != "OnClick")
        return false;
    onClick_ = std::move(handler);
    return true;
}

bool TTreeView::SetLayoutReference(const String& property, TComponent* target)
{
    if (property != "Images")
        return false;
    auto* images = dynamic_cast<TImageList*>(target);
    picture_.Clear();
    if (!images) {
        images_.Reset();
        return false;
    }
    // Each list the component builds (at a new density) replaces the
    // control's, and the row picture is copied again from it when drawn.
    images_.Reset(images, [this](HIMAGELIST list) {
        picture_.Clear();
        if (!Handle())
            return;
        ::SendMessageW(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
        // The control sets its indent to a new list's picture width: the
        // layout's is given again.
        ::SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
        ::InvalidateRect(Handle(), nullptr, TRUE);
    });
    return true;
}
