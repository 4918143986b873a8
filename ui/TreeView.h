#pragma once
// Tree view over the platform's control. Nodes live in Items; a node's
// native item is created when its parent is expanded or when the node is
// selected, so a large tree costs no native insertions until it is seen.
#include "platform/UniqueHandle.h"
#include "ui/Control.h"
#include "ui/DefaultPixels.h"
#include "ui/ImageList.h"
#include "ui/RowPicture.h"
#include "ui/TreeNode.h"

class TTreeView : public TControl, private TreeNodeObserver {
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;

    TTreeNodes Items;

    TTreeNode* Selected() const;
    // Selects the node, creating native items along its path, and scrolls
    // it into view; null clears the selection.
    void SetSelected(TTreeNode* node);
    bool IsExpanded(const TTreeNode& node) const;
    // Does what a click does: OnClick, after the clicked node is selected.
    void Click();

    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;
    bool SetLayoutReference(const String& property, TComponent* target) override;

private:
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> HandleNotify(NMHDR& header) override;

    void NodeAdded(TTreeNode& node) override;
    void NodesClearing() override;

    void UseExplicitQualityFont();
    void CreateItem(TTreeNode& node);
    void CreateChildItems(TTreeNode& node);
    void SelectClickedItem();
    LRESULT CustomDraw(NMTVCUSTOMDRAW& draw);
    void SuspendDrawing();
    void ResumeDrawing();

    platform::Font font_;
    TImageListLink images_;
    TRowPicture picture_;
    bool hideSelection_ = true;
    bool readOnly_ = false;
    int indent_ = kDefaultTreeIndent;
    // How many of the window's messages are being handled, and at which of
    // them drawing was suspended (0: it is not).
    int messageDepth_ = 0;
    int drawingSuspendedAt_ = 0;
    TNotifyEvent onClick_;
};
