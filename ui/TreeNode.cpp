#include "ui/TreeNode.h"

#include <new>

TTreeNode::TTreeNode(TTreeNode* parent, const String& text, void* data) : Data(data), text_(text), parent_(parent) {}

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
    TTreeNode* node = NewNode(parent, text, data);
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

TTreeNode* TTreeNodes::NewNode(TTreeNode* parent, const String& text, void* data)
{
    if (usedInLastBlock_ == kBlockNodes) {
        blocks_.push_back(std::make_unique<Slot[]>(kBlockNodes));
        usedInLastBlock_ = 0;
    }
    TTreeNode* node = new (&blocks_.back()[usedInLastBlock_]) TTreeNode(parent, text, data);
    ++usedInLastBlock_;
    return node;
}

void TTreeNodes::DeleteAll() noexcept
{
    // Block by block: no walk of the tree, so its depth does not matter.
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const std::size_t used = b + 1 == blocks_.size() ? usedInLastBlock_ : kBlockNodes;
        for (std::size_t i = 0; i < used; ++i)
            std::launder(reinterpret_cast<TTreeNode*>(&blocks_[b][i]))->~TTreeNode();
    }
    blocks_.clear();
    usedInLastBlock_ = kBlockNodes;
    first_ = last_ = nullptr;
    count_ = 0;
}
