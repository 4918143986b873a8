#pragma once
// The link-loop fixture, as every drive that holds it must show it:
//   loop\up -> ..   loop\self -> ..\loop   loop\elsewhere -> ..\target (holds inside\)
#include "tests/support/WindowQueries.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

inline void ExpectLinksBackToAncestorsKeepNodesWithoutChildren(const TTreeNode* loop)
{
    ASSERT_NE(loop, nullptr) << "the link fixture is missing";
    std::vector<String> children = ChildTexts(loop);
    std::sort(children.begin(), children.end());
    EXPECT_EQ(children, (std::vector<String>{"elsewhere", "real", "self", "up"}));
    ASSERT_NE(Child(loop, "up"), nullptr);
    ASSERT_NE(Child(loop, "self"), nullptr);
    EXPECT_FALSE(Child(loop, "up")->HasChildren());
    EXPECT_FALSE(Child(loop, "self")->HasChildren());
    // A link elsewhere is walked into like any folder.
    EXPECT_EQ(ChildTexts(Child(loop, "elsewhere")), std::vector<String>{"inside"});
    EXPECT_EQ(PathOf(Child(Child(loop, "elsewhere"), "inside")), PathOf(loop) + "elsewhere\\inside\\");
}
