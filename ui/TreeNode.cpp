#include "ui/TreeNode.h"

TTreeNode::TTreeNode(TTreeNode* parent, const String& text, void* data)
    : Data(data), text_(text), parent_(parent)
{
}

int TTreeNode::Level() const
{
    int level = 0;
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        ++level;
    return level;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const String& text, void* data)
{
    return AddChildObject(sibling ? sibling->parent_ : nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const String& text, void* data)
{
    auto* node = new TTreeNode(parent, text, data);
    TTreeNode*& first = parent ? parent->firstChild_ : first_;
    TTreeNode*& last = parent ? parent->lastChild_ : last_;
    if (last)
        last->next_ = node;
    else
        first = node;
    last = node;
    ++count_;
    if (observer_)
        observer_->NodeAdded(*node);
    return node;
}

void TTreeNodes::Clear()
{
    if (observer_)
        observer_->NodesClearing();
    DeleteAll();
}

void TTreeNodes::DeleteAll() noexcept
{
    // Without recursion: a chain thousands of levels deep must not exhaust
    // the stack. Each node's children are spliced in front of its siblings.
    TTreeNode* pending = first_;
    while (pending) {
        TTreeNode* node = pending;
        if (node->firstChild_) {
            node->lastChild_->next_ = node->next_;
            pending = node->firstChild_;
        } else {
            pending = node->next_;
        }
        delete node;
    }
    first_ = last_ = nullptr;
    count_ = 0;
}
