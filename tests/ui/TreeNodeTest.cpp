#include "ui/TreeNode.h"

#include <gtest/gtest.h>
#include <utility>
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

// Every node below `node`, each after its descendants: the plain recursion.
void ChildrenFirst(const TTreeNode* node, std::vector<String>& out)
{
    for (const TTreeNode* child = node->getFirstChild(); child; child = child->getNextSibling()) {
        ChildrenFirst(child, out);
        out.push_back(child->Text());
    }
}

TEST(TreeNodes, NodesBelowAreVisitedEachAfterItsDescendants)
{
    // Trees given as (parent index, text) in order of adding; node 0 is the
    // root and is not visited itself.
    struct Case {
        const char* name;
        std::vector<std::pair<int, const char*>> nodes;
        std::vector<String> expected;
    };
    const std::vector<Case> cases = {
        {"no children", {}, {}},
        {"one child", {{0, "a"}}, {"a"}},
        {"siblings", {{0, "a"}, {0, "b"}, {0, "c"}}, {"a", "b", "c"}},
        {"chain", {{0, "a"}, {1, "b"}, {2, "c"}}, {"c", "b", "a"}},
        {"mixed",
         {{0, "a"}, {1, "a1"}, {1, "a2"}, {0, "b"}, {4, "b1"}, {5, "b11"}, {0, "c"}, {4, "b2"}},
         {"a1", "a2", "a", "b11", "b1", "b2", "b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTreeNodes model;
        std::vector<TTreeNode*> nodes{model.AddObject(nullptr, "root", nullptr)};
        model.AddObject(nullptr, "second root", nullptr); // must not be reached
        for (const auto& [parent, text] : c.nodes)
            nodes.push_back(model.AddChildObject(nodes.at(static_cast<std::size_t>(parent)), text, nullptr));
        std::vector<String> recursive;
        ChildrenFirst(nodes[0], recursive);
        ASSERT_EQ(recursive, c.expected) << "the table itself is wrong";
        std::vector<String> visited;
        VisitBelowChildrenFirst(*nodes[0], [&](TTreeNode& node) { visited.push_back(node.Text()); });
        EXPECT_EQ(visited, c.expected);
    }
}

TEST(TreeNodes, AVeryDeepChainIsVisitedAndDeletedWithoutRecursion)
{
    // Far deeper than a recursion could go on a 1 MiB stack.
    TTreeNodes nodes;
    std::vector<TTreeNode*> chain{nodes.AddObject(nullptr, "0", nullptr)};
    for (int i = 1; i < 200'000; ++i)
        chain.push_back(nodes.AddChildObject(chain.back(), "x", nullptr));
    EXPECT_EQ(chain.back()->Level(), 199'999);
    // The deepest first, then each one's parent, up to the root's child.
    std::size_t visited = 0;
    std::size_t outOfOrder = 0;
    VisitBelowChildrenFirst(*chain.front(), [&](TTreeNode& below) {
        outOfOrder += visited + 1 < chain.size() && &below == chain[chain.size() - 1 - visited] ? 0 : 1;
        ++visited;
    });
    EXPECT_EQ(visited, chain.size() - 1);
    EXPECT_EQ(outOfOrder, 0u);
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0u);
}

} // namespace
