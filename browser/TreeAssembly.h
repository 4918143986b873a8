#pragma once
// Numbering and assembly of a walked tree. Every folder gets a number when
// its parent is listed, so parents come before children and siblings keep
// the search's order whichever thread listed them; one pass in number order
// then adds every node under a parent that already has its own.
#include "base/Text.h"

#include <atomic>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

using FolderNumber = std::uint32_t;

// Hands out the numbers; 0 is the root.
class FolderNumbering {
public:
    FolderNumber Next() { return next_.fetch_add(1, std::memory_order_relaxed); }
    FolderNumber Count() const { return next_.load(); }

private:
    std::atomic<FolderNumber> next_{1};
};

// A folder that has been listed, waiting for its node. The name is the
// last component of the path, which ends in a backslash.
struct WalkedFolder {
    FolderNumber number;
    FolderNumber parent;
    String path;

    std::string_view Name() const
    {
        const std::string_view full(path);
        const std::string_view withoutSlash = full.substr(0, full.size() - 1);
        return withoutSlash.substr(withoutSlash.rfind('\\') + 1);
    }
};

// Adds every walked folder below `root`, parents first, through
// addChild(Node parent, std::string_view name, String path) -> Node. The
// lists may come from any number of walkers, in any order; `count` is
// the numbering's count. Each path is moved into addChild.
template <class Node, class AddChild>
void AssembleTree(std::vector<std::vector<WalkedFolder>>& walked, FolderNumber count, Node root, AddChild&& addChild)
{
    if (count <= 1)
        return;
    // Where each number sits: which list, which place in it.
    struct Place {
        std::uint32_t list;
        std::uint32_t index;
    };
    std::vector<Place> places(count, Place{0, 0});
    for (std::uint32_t l = 0; l < walked.size(); ++l)
        for (std::uint32_t i = 0; i < walked[l].size(); ++i)
            places[walked[l][i].number] = {l, i};
    std::vector<Node> nodes(count);
    nodes[0] = root;
    for (FolderNumber n = 1; n < count; ++n) {
        WalkedFolder& folder = walked[places[n].list][places[n].index];
        const std::string_view name = folder.Name();
        // The name is copied before the path it points into moves away.
        const String nameCopy(name);
        nodes[n] = addChild(nodes[folder.parent], std::string_view(nameCopy), std::move(folder.path));
    }
}
