#include "browser/AddressWalk.h"

#include "ui/TreeNode.h"

#include <cctype>
#include <gtest/gtest.h>

namespace {

TEST(SplitHead, CutsUpToTheFirstSeparator)
{
    String text = "C:\\Windows\\System";
    EXPECT_EQ(SplitHead(text, '\\'), "C:");
    EXPECT_EQ(text, "Windows\\System");
    EXPECT_EQ(SplitHead(text, '\\'), "Windows");
    EXPECT_EQ(SplitHead(text, '\\'), "System");
    EXPECT_EQ(text, "");
    EXPECT_EQ(SplitHead(text, '\\'), "") << "an empty text gives an empty head";
    EXPECT_EQ(text, "");

    text = "\\\\x";
    EXPECT_EQ(SplitHead(text, '\\'), "");
    EXPECT_EQ(text, "\\x") << "a leading separator goes alone";
    text = "C:/Windows";
    EXPECT_EQ(SplitHead(text, '\\'), "C:/Windows") << "forward slashes do not separate";
}

bool IgnoringCase(const String& a, const String& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

class AddressWalkTest : public ::testing::Test {
protected:
    AddressWalkTest()
    {
        root = nodes.AddObject(nullptr, "C 드라이브", nullptr);
        windows = nodes.AddChildObject(root, "WINDOWS", nullptr);
        system = nodes.AddChildObject(windows, "System32", nullptr);
        nodes.AddChildObject(root, "Data", nullptr);
    }
    TTreeNode* Walk(const String& typed) { return WalkAddress(typed, root, IgnoringCase); }

    TTreeNodes nodes;
    TTreeNode* root;
    TTreeNode* windows;
    TTreeNode* system;
};

TEST_F(AddressWalkTest, ComponentsAreMatchedWithoutRegardToCase)
{
    EXPECT_EQ(Walk("c:\\windows"), windows);
    EXPECT_EQ(Walk("C:\\Windows\\"), windows);
    EXPECT_EQ(Walk("C:\\windows\\SYSTEM32"), system);
}

TEST_F(AddressWalkTest, TheFirstComponentIsDiscardedWhateverItHolds)
{
    EXPECT_EQ(Walk("C:"), root);
    EXPECT_EQ(Walk("C:\\"), root);
    EXPECT_EQ(Walk("D:\\Data"), root->getFirstChild()->getNextSibling());
    EXPECT_EQ(Walk("WINDOWS"), root) << "a path without a separator is all drive";
    EXPECT_EQ(Walk("C:/Windows"), root);
    EXPECT_EQ(Walk(""), root);
}

TEST_F(AddressWalkTest, AnEmptyComponentEndsTheWalkWhereItIs)
{
    EXPECT_EQ(Walk("C:\\\\Windows"), root);
    EXPECT_EQ(Walk("C:\\Windows\\\\System32"), windows);
    EXPECT_EQ(Walk("\\\\?\\C:\\Windows"), root);
    EXPECT_EQ(Walk(String(100'000, '\\')), root);
}

TEST_F(AddressWalkTest, AComponentWithoutAMatchEndsWithoutANode)
{
    EXPECT_EQ(Walk("C:\\Nowhere"), nullptr);
    EXPECT_EQ(Walk("C:\\Windows\\System32\\deeper"), nullptr);
    EXPECT_EQ(Walk("C:\\Windows.\\"), nullptr);
    EXPECT_EQ(Walk("C:\\Windows \\"), nullptr);
    EXPECT_EQ(Walk("C:\\%s%s%n"), nullptr);
    EXPECT_EQ(Walk("C:\\" + String(100'000, 'a')), nullptr);
}

TEST_F(AddressWalkTest, AnEmptyTreeReachesNothing)
{
    EXPECT_EQ(WalkAddress("C:\\Windows", static_cast<TTreeNode*>(nullptr), IgnoringCase), nullptr);
}

} // namespace
