#pragma once
// The tree view's nodes: text, data pointer and children in order, kept by
// the framework. Native items exist only for nodes that have been shown.
#include "base/Text.h"

#include <cstddef>
#include <memory>
#include <vector>

class TTreeNode {
public:
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const String& Text() const { return text_; }
    // The model's text; a native item keeps the text it was made with, or
    // the one the user typed into it.
    void SetText(const String& text) { text_ = text; }
    void* Data = nullptr;

    TTreeNode* Parent() const { return parent_; }
    bool HasChildren() const { return firstChild_ != nullptr; }
    TTreeNode* getFirstChild() const { return firstChild_; }
    TTreeNode* getNextSibling() const { return next_; }
    // The sibling after `child`, a child of this node.
    TTreeNode* GetNextChild(const TTreeNode* child) const { return child ? child->next_ : nullptr; }
    int Level() const;

    // Bookkeeping of the native control.
    void* NativeItem() const { return item_; }
    void SetNativeItem(void* item) { item_ = item; }
    bool ChildItemsCreated() const { return childItemsCreated_; }
    void SetChildItemsCreated(bool created) { childItemsCreated_ = created; }

private:
    friend class TTreeNodes;
    TTreeNode(TTreeNode* parent, const String& text, void* data);

    String text_;
    TTreeNode* parent_;
    TTreeNode* firstChild_ = nullptr;
    TTreeNode* lastChild_ = nullptr;
    TTreeNode* next_ = nullptr;
    void* item_ = nullptr;
    bool childItemsCreated_ = false;
};

// Calls visit(TTreeNode&) for every node below `node`, each after all of its
// descendants, siblings in their order. No recursion: the depth of the tree
// does not matter.
template <class Visit>
void VisitBelowChildrenFirst(TTreeNode& node, Visit&& visit)
{
    auto deepestFirst = [](TTreeNode* n) {
        while (TTreeNode* child = n->getFirstChild())
            n = child;
        return n;
    };
    TTreeNode* first = node.getFirstChild();
    if (!first)
        return;
    TTreeNode* current = deepestFirst(first);
    for (;;) {
        TTreeNode* next = current->getNextSibling();
        TTreeNode* parent = current->Parent();
        visit(*current);
        if (next)
            current = deepestFirst(next);
        else if (parent == &node)
            return;
        else
            current = parent;
    }
}

// Told of changes so that native items can follow the model.
class TreeNodeObserver {
public:
    virtual void NodeAdded(TTreeNode& node) = 0;
    virtual void NodesClearing() = 0;

protected:
    ~TreeNodeObserver() = default;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TreeNodeObserver* observer = nullptr) : observer_(observer) {}
    ~TTreeNodes() { DeleteAll(); }
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    // Adds a last node at the level of `sibling` (top level when null).
    TTreeNode* AddObject(TTreeNode* sibling, const String& text, void* data);
    // Adds a last child of `parent` (a top-level node when null).
    TTreeNode* AddChildObject(TTreeNode* parent, const String& text, void* data);
    TTreeNode* GetFirstNode() const { return first_; }
    std::size_t Count() const { return count_; }
    void Clear();

private:
    TTreeNode* NewNode(TTreeNode* parent, const String& text, void* data);
    void DeleteAll() noexcept;

    // Nodes live in blocks of this many, never moved: a tree of a hundred
    // thousand folders costs a hundred allocations, not a hundred thousand.
    static constexpr std::size_t kBlockNodes = 1024;
    struct alignas(TTreeNode) Slot {
        std::byte bytes[sizeof(TTreeNode)];
    };
    std::vector<std::unique_ptr<Slot[]>> blocks_;
    std::size_t usedInLastBlock_ = kBlockNodes;

    TreeNodeObserver* observer_;
    TTreeNode* first_ = nullptr;
    TTreeNode* last_ = nullptr;
    std::size_t count_ = 0;
};
