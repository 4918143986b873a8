#include "browser/FolderWalk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <stdexcept>
#include <thread>
#include <random>
#include <optional>
#include <vector>

namespace {

struct Entry {
    String name;
    std::uint32_t attributes;
};

constexpr std::uint32_t kFolder = kDirectoryAttribute;
constexpr std::uint32_t kLink = kDirectoryAttribute | kReparsePointAttribute;
constexpr std::uint32_t kFile = 0x20;

// Folders by path; a link's listing and identity are those of its target.
class FakeSource {
public:
    std::map<String, std::vector<Entry>> folders;
    std::map<String, String> links; // link path -> target path
    std::atomic<int> lists{0};

    String Resolve(const String& path) const
    {
        // Follow links on any prefix of the path, as the platform does.
        for (const auto& [link, target] : links)
            if (path.rfind(link, 0) == 0)
                return Resolve(target + path.substr(link.size()));
        return path;
    }

    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        ++lists;
        const auto found = folders.find(Resolve(path));
        if (found == folders.end())
            return false;
        for (const Entry& e : found->second)
            visit(std::string_view(e.name), e.attributes);
        return true;
    }

    std::optional<String> Identify(const String& path)
    {
        const String real = Resolve(path);
        if (!folders.count(real))
            return std::nullopt;
        return real;
    }
};

struct Node {
    String text;
    String path;
    std::vector<int> children;
};

class Tree {
public:
    Tree() { nodes.push_back({"root", "C:\\", {}}); }
    std::vector<Node> nodes;
    std::vector<String> order; // paths in the order nodes were added

    int Add(int parent, std::string_view name, const String& path)
    {
        nodes.push_back({String(name), path, {}});
        const int id = static_cast<int>(nodes.size()) - 1;
        nodes[static_cast<std::size_t>(parent)].children.push_back(id);
        order.push_back(path);
        return id;
    }

    std::vector<String> Children(int id) const
    {
        std::vector<String> texts;
        for (int child : nodes[static_cast<std::size_t>(id)].children)
            texts.push_back(nodes[static_cast<std::size_t>(child)].text);
        return texts;
    }

    int Find(const String& path) const
    {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].path == path)
                return static_cast<int>(i);
        return -1;
    }

    // The tree in depth-first order, the way a recursive walk would meet it.
    void Preorder(int id, std::vector<String>& out) const
    {
        out.push_back(nodes[static_cast<std::size_t>(id)].path);
        for (int child : nodes[static_cast<std::size_t>(id)].children)
            Preorder(child, out);
    }
};

// Every case runs with the searches on the calling thread and on two workers.
class FolderWalk : public ::testing::TestWithParam<unsigned> {
protected:
    void Walk(FakeSource& source, Tree& tree)
    {
        WalkFolders(
            source, "C:\\", 0,
            [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
            GetParam());
    }
};

TEST_P(FolderWalk, DepthFirstWithSiblingsInSearchOrderAndFullPaths)
{
    FakeSource source;
    source.folders["C:\\"] = {{".", kFolder}, {"..", kFolder}, {"Zeta", kFolder}, {"file.txt", kFile},
                              {"Alpha", kFolder}};
    source.folders["C:\\Zeta\\"] = {{"Sub", kFolder}};
    source.folders["C:\\Zeta\\Sub\\"] = {};
    source.folders["C:\\Alpha\\"] = {{"Top", kFolder}};
    source.folders["C:\\Alpha\\Top\\"] = {{"Sub", kFolder}};
    source.folders["C:\\Alpha\\Top\\Sub\\"] = {};
    Tree tree;
    Walk(source, tree);

    EXPECT_EQ(tree.Children(0), (std::vector<String>{"Zeta", "Alpha"}));
    const int sub = tree.Find("C:\\Alpha\\Top\\Sub\\");
    ASSERT_GE(sub, 0);
    EXPECT_EQ(tree.nodes[static_cast<std::size_t>(sub)].text, "Sub");
    std::vector<String> preorder;
    tree.Preorder(0, preorder);
    EXPECT_EQ(preorder, (std::vector<String>{"C:\\", "C:\\Zeta\\", "C:\\Zeta\\Sub\\", "C:\\Alpha\\",
                                             "C:\\Alpha\\Top\\", "C:\\Alpha\\Top\\Sub\\"}));
}

TEST_P(FolderWalk, DotNamesAndEverythingBelowThemAreLeftOut)
{
    FakeSource source;
    source.folders["C:\\"] = {{".config", kFolder}, {"visible", kFolder | 0x2 | 0x4 | 0x1}};
    source.folders["C:\\.config\\"] = {{"inner", kFolder}};
    source.folders["C:\\visible\\"] = {{".hidden", kFolder}, {"x.y", kFolder}};
    source.folders["C:\\visible\\x.y\\"] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(0), (std::vector<String>{"visible"}));
    EXPECT_EQ(tree.Children(tree.Find("C:\\visible\\")), (std::vector<String>{"x.y"}));
    EXPECT_EQ(tree.Find("C:\\.config\\inner\\"), -1);
    EXPECT_EQ(source.lists.load(), 3); // .config was never searched
}

TEST_P(FolderWalk, AFolderThatCannotBeSearchedKeepsItsNodeWithoutChildren)
{
    FakeSource source;
    source.folders["C:\\"] = {{"locked", kFolder}, {"after", kFolder}};
    source.folders["C:\\after\\"] = {{"child", kFolder}};
    source.folders["C:\\after\\child\\"] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(0), (std::vector<String>{"locked", "after"}));
    EXPECT_TRUE(tree.Children(tree.Find("C:\\locked\\")).empty());
    EXPECT_EQ(tree.Children(tree.Find("C:\\after\\")), (std::vector<String>{"child"}));
}

TEST_P(FolderWalk, LinksBackToAnAncestorGetNoChildrenAndTheWalkEnds)
{
    FakeSource source;
    source.folders["C:\\"] = {{"top", kFolder}};
    source.folders["C:\\top\\"] = {{"loop1", kLink}, {"loop2", kLink}, {"toRoot", kLink}, {"real", kFolder}};
    source.folders["C:\\top\\real\\"] = {};
    source.links["C:\\top\\loop1"] = "C:\\top";
    source.links["C:\\top\\loop2"] = "C:\\top";
    source.links["C:\\top\\toRoot"] = "C:";
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(tree.Find("C:\\top\\")), (std::vector<String>{"loop1", "loop2", "toRoot", "real"}));
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\loop1\\")).empty());
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\loop2\\")).empty());
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\toRoot\\")).empty());
    EXPECT_EQ(tree.nodes.size(), 6u);
}

TEST_P(FolderWalk, ALinkElsewhereIsWalkedLikeAFolder)
{
    FakeSource source;
    source.folders["C:\\"] = {{"data", kFolder}, {"shortcut", kLink}};
    source.folders["C:\\data\\"] = {{"inside", kFolder}};
    source.folders["C:\\data\\inside\\"] = {};
    source.links["C:\\shortcut"] = "C:\\data";
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(tree.Find("C:\\shortcut\\")), (std::vector<String>{"inside"}));
}

TEST_P(FolderWalk, ChainThousandsDeepDoesNotRecurse)
{
    FakeSource source;
    String path = "C:\\";
    for (int depth = 0; depth < 3000; ++depth) {
        source.folders[path] = {{"d", kFolder}};
        path += "d\\";
    }
    source.folders[path] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.nodes.size(), 3001u);
    EXPECT_EQ(tree.nodes.back().path, path);
}

TEST_P(FolderWalk, AnyListingOrderBuildsTheSameTreeAsTheSequentialWalk)
{
    std::mt19937 random(7);
    FakeSource source;
    std::vector<String> folders{"C:\\"};
    for (int i = 0; i < 3000; ++i) {
        const String parent = folders[random() % folders.size()];
        String name = "n";
        name += std::to_string(random() % 50000);
        if (source.folders.count(parent + name + "\\"))
            continue;
        source.folders[parent].push_back({name, kFolder});
        source.folders[parent].push_back({name + ".txt", kFile});
        source.folders[parent + name + "\\"];
        folders.push_back(parent + name + "\\");
    }
    source.folders["C:\\"].push_back({"back", kLink});
    source.links["C:\\back"] = "C:";

    Tree sequential;
    WalkFolders(source, "C:\\", 0, [&](int p, std::string_view n, const String& path) { return sequential.Add(p, n, path); });
    Tree walked;
    Walk(source, walked);
    std::vector<String> expected;
    std::vector<String> actual;
    sequential.Preorder(0, expected);
    walked.Preorder(0, actual);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(expected.size(), folders.size() + 1);
}

// A source slow enough for the walk to report its progress on the way.
class SlowSource : public FakeSource {
public:
    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return FakeSource::List(path, visit);
    }
};

TEST_P(FolderWalk, ProgressIsReportedOnTheCallingThreadWithoutChangingTheTree)
{
    SlowSource source;
    source.folders["C:\\"];
    for (int i = 0; i < 400; ++i) {
        String name = "f";
        name += std::to_string(i);
        source.folders["C:\\"].push_back({name, kFolder});
        source.folders["C:\\" + name + "\\"];
    }
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::size_t> counts;
    bool onCaller = true;
    bool pathsFromTheTree = true;
    Tree tree;
    WalkFolders(
        source, "C:\\", 0, [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
        GetParam(), [&](std::size_t read, const String& current) {
            counts.push_back(read);
            onCaller = onCaller && std::this_thread::get_id() == caller;
            pathsFromTheTree = pathsFromTheTree && (current.empty() || current.rfind("C:\\", 0) == 0);
        });
    EXPECT_EQ(tree.nodes.size(), 401u);
    ASSERT_FALSE(counts.empty()) << "a walk of about half a second reports";
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_LE(counts.back(), 401u);
    EXPECT_TRUE(onCaller);
    EXPECT_TRUE(pathsFromTheTree);
}

TEST_P(FolderWalk, AFailingProgressReportStopsTheWalkCleanly)
{
    SlowSource source;
    for (int i = 0; i < 400; ++i)
        source.folders["C:\\"].push_back({String("f") += std::to_string(i), kFolder});
    Tree tree;
    EXPECT_THROW(WalkFolders(
                     source, "C:\\", 0,
                     [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
                     GetParam(), [](std::size_t, const String&) { throw std::runtime_error("window failed"); }),
                 std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Threads, FolderWalk, ::testing::Values(0u, 2u),
                         [](const ::testing::TestParamInfo<unsigned>& p) {
                             return p.param == 0 ? String("Inline") : String("Workers") += std::to_string(p.param);
                         });

} // namespace
