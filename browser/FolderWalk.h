#pragma once
// The walk that builds the folder tree: depth first, siblings in the order
// the search gives them, every folder but those whose names begin with a
// full stop (and everything below them). It keeps its own stack, so a
// chain of folders thousands deep cannot exhaust the thread's.
//
// A folder reached through a link that leads back to one of its own
// ancestors keeps its node but is not walked into: without that, two such
// links in one folder would make the walk endless.
//
// Source must offer
//   bool List(const String& folderPath, Visit visit)   // visit(std::string_view name, uint32_t attributes);
//                                                      // false when the folder cannot be searched
//   std::optional<Id> Identify(const String& folderPath)
// and AddChild(Node parent, std::string_view name, const String& path) -> Node.
#include "ui/Text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

constexpr std::uint32_t kDirectoryAttribute = 0x10;
constexpr std::uint32_t kReparsePointAttribute = 0x400;

// Whether an entry of a folder search becomes a node of the folder tree.
inline bool IsTreeFolder(std::string_view name, std::uint32_t attributes)
{
    return (attributes & kDirectoryAttribute) && !name.empty() && name[0] != '.';
}

template <class Source, class Node, class AddChild>
void WalkFolders(Source& source, const String& rootPath, Node root, AddChild&& addChild)
{
    using Id = typename decltype(source.Identify(rootPath))::value_type;
    struct Pending {
        Node node;
        String path;
        std::size_t depth;
        bool isLink;
    };
    struct Ancestor {
        String path;
        std::optional<Id> id;
        bool identified = false;
    };

    std::vector<Pending> pending;
    pending.push_back({root, rootPath, 0, false});
    // The folders from the root down to the one being walked.
    std::vector<Ancestor> chain;
    auto leadsToAncestor = [&](const String& path) {
        const std::optional<Id> id = source.Identify(path);
        if (!id)
            return false;
        for (Ancestor& ancestor : chain) {
            if (!ancestor.identified) {
                ancestor.id = source.Identify(ancestor.path);
                ancestor.identified = true;
            }
            if (ancestor.id && *ancestor.id == *id)
                return true;
        }
        return false;
    };

    while (!pending.empty()) {
        Pending current = std::move(pending.back());
        pending.pop_back();
        chain.resize(std::min(chain.size(), current.depth));
        if (current.isLink && leadsToAncestor(current.path))
            continue;
        chain.push_back({std::move(current.path), std::nullopt, false});
        const String& path = chain.back().path;

        const std::size_t firstChild = pending.size();
        source.List(path, [&](std::string_view name, std::uint32_t attributes) {
            if (!IsTreeFolder(name, attributes))
                return;
            String childPath;
            childPath.reserve(path.size() + name.size() + 1);
            childPath.append(path).append(name).push_back('\\');
            Node child = addChild(current.node, name, childPath);
            pending.push_back({child, std::move(childPath), current.depth + 1,
                               (attributes & kReparsePointAttribute) != 0});
        });
        // The first child is walked first.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(firstChild), pending.end());
    }
}
