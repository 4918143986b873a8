#include "ui/TreeNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<String> ChildTexts(const TTreeNode* parent, const TTreeNodes& nodes)
{
    std::vector<String> texts;
    for (const TTreeNode* n = parent ? parent->getFirstChild() : nodes.GetFirstNode(); n; n = n->getNextSibling())
        texts.push_back(n->Text());
    return texts;
}

class Observer : public TreeNodeObserver {
public:
    void NodeAdded(TTreeNode& node) override { added.push_back(node.Text()); }
    void NodesClearing() override { ++clearings; }
    std::vector<String> added;
    int clearings = 0;
};

TEST(TreeNodes, ChildrenKeepTheOrderOfAdding)
{
    int a = 1;
    TTreeNodes nodes;
    TTreeNode* root = nodes.AddObject(nullptr, "root", &a);
    TTreeNode* b = nodes.AddChildObject(root, "b", nullptr);
    nodes.AddChildObject(root, "a", nullptr);
    nodes.AddChildObject(b, "b1", nullptr);
    nodes.AddObject(root, "second root", nullptr);

    EXPECT_EQ(ChildTexts(nullptr, nodes), (std::vector<String>{"root", "second root"}));
    EXPECT_EQ(ChildTexts(root, nodes), (std::vector<String>{"b", "a"}));
    EXPECT_EQ(root->Data, &a);
    EXPECT_TRUE(root->HasChildren());
    EXPECT_FALSE(root->getFirstChild()->getNextSibling()->HasChildren());
    EXPECT_EQ(root->GetNextChild(b)->Text(), "a");
    EXPECT_EQ(root->GetNextChild(nullptr), nullptr);
    EXPECT_EQ(b->getFirstChild()->Level(), 2);
    EXPECT_EQ(b->getFirstChild()->Parent(), b);
    EXPECT_EQ(nodes.Count(), 5u);
}

TEST(TreeNodes, ObserverHearsOfEveryNodeAndOfClearing)
{
    Observer observer;
    TTreeNodes nodes(&observer);
    TTreeNode* root = nodes.AddObject(nullptr, "r", nullptr);
    nodes.AddChildObject(root, "c", nullptr);
    nodes.Clear();
    EXPECT_EQ(observer.added, (std::vector<String>{"r", "c"}));
    EXPECT_EQ(observer.clearings, 1);
    EXPECT_EQ(nodes.GetFirstNode(), nullptr);
    EXPECT_EQ(nodes.Count(), 0u);
}

TEST(TreeNodes, AVeryDeepChainIsDeletedWithoutRecursion)
{
    // Far deeper than a recursive delete could go on a 1 MiB stack.
    TTreeNodes nodes;
    TTreeNode* node = nodes.AddObject(nullptr, "0", nullptr);
    for (int i = 1; i < 200'000; ++i)
        node = nodes.AddChildObject(node, "x", nullptr);
    EXPECT_EQ(node->Level(), 199'999);
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0u);
}

} // namespace
