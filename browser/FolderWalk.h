#pragma once
// The walk that builds the folder tree: siblings in the order the search
// gives them, every folder but those whose names begin with a full stop
// (and everything below them), without a depth limit.
//
// The folder searches may run on worker threads while the calling thread
// alone adds the nodes; a folder's children are added in one go from its
// own listing, so the tree comes out the same, node for node, whichever
// folder is listed first. The pending folders are kept on the heap: a chain
// thousands deep cannot exhaust any thread's stack.
//
// A folder reached through a link that leads back to a folder above it
// keeps its node but is not walked into: without that, two such links in
// one folder would make the walk endless.
//
// Source must offer, callable from several threads at once:
//   bool List(const String& folderPath, Visit visit)   // visit(std::string_view name, uint32_t attributes);
//                                                      // false when the folder cannot be searched
//   std::optional<Id> Identify(const String& folderPath)
// AddChild(Node parent, std::string_view name, const String& path) -> Node
// is called on the calling thread only.
#include "ui/Text.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

constexpr std::uint32_t kDirectoryAttribute = 0x10;
constexpr std::uint32_t kReparsePointAttribute = 0x400;

// Whether an entry of a folder search becomes a node of the folder tree.
inline bool IsTreeFolder(std::string_view name, std::uint32_t attributes)
{
    return (attributes & kDirectoryAttribute) && !name.empty() && name[0] != '.';
}

// Whether the folder a link leads to is one of the folders its path passes
// through (C:\a\link\ is checked against C:\ and C:\a\).
template <class Source>
bool LeadsToAncestor(Source& source, const String& path)
{
    const auto id = source.Identify(path);
    if (!id)
        return false;
    for (std::size_t end = path.find('\\'); end != String::npos && end + 1 < path.size();
         end = path.find('\\', end + 1)) {
        const auto ancestor = source.Identify(path.substr(0, end + 1));
        if (ancestor && *ancestor == *id)
            return true;
    }
    return false;
}

template <class Source, class Node, class AddChild>
void WalkFolders(Source& source, const String& rootPath, Node root, AddChild&& addChild, unsigned workers = 0)
{
    struct Job {
        Node node;
        String path;
        bool isLink;
    };
    struct Entry {
        String name;
        bool isLink;
    };
    struct Listing {
        Node node;
        String path;
        std::vector<Entry> folders;
    };

    auto list = [&source](Job& job) {
        Listing listing{job.node, std::move(job.path), {}};
        if (job.isLink && LeadsToAncestor(source, listing.path))
            return listing;
        source.List(listing.path, [&listing](std::string_view name, std::uint32_t attributes) {
            if (IsTreeFolder(name, attributes))
                listing.folders.push_back({String(name), (attributes & kReparsePointAttribute) != 0});
        });
        return listing;
    };
    // Adds a listed folder's children; their jobs go on `jobs` last child
    // first, so that taking from the back walks the first child first.
    auto add = [&addChild](Listing& listing, std::vector<Job>& jobs) {
        const std::size_t first = jobs.size();
        for (Entry& entry : listing.folders) {
            String childPath;
            childPath.reserve(listing.path.size() + entry.name.size() + 1);
            childPath.append(listing.path).append(entry.name).push_back('\\');
            Node child = addChild(listing.node, std::string_view(entry.name), childPath);
            jobs.push_back({child, std::move(childPath), entry.isLink});
        }
        std::reverse(jobs.begin() + static_cast<std::ptrdiff_t>(first), jobs.end());
    };

    std::vector<Job> jobs;
    jobs.push_back({root, rootPath, false});
    if (workers == 0) {
        while (!jobs.empty()) {
            Job job = std::move(jobs.back());
            jobs.pop_back();
            Listing listing = list(job);
            add(listing, jobs);
        }
        return;
    }

    std::mutex mutex;
    std::condition_variable jobReady;
    std::condition_variable listingReady;
    std::deque<Listing> listings;
    bool stopping = false;
    auto work = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            jobReady.wait(lock, [&] { return stopping || !jobs.empty(); });
            if (stopping)
                return;
            Job job = std::move(jobs.back());
            jobs.pop_back();
            lock.unlock();
            Listing listing = list(job);
            lock.lock();
            listings.push_back(std::move(listing));
            listingReady.notify_one();
        }
    };
    // The workers are stopped and joined however the walk ends.
    struct Crew {
        std::vector<std::thread> threads;
        std::mutex& mutex;
        bool& stopping;
        std::condition_variable& jobReady;
        ~Crew()
        {
            {
                std::lock_guard<std::mutex> lock(mutex);
                stopping = true;
            }
            jobReady.notify_all();
            for (std::thread& thread : threads)
                thread.join();
        }
    } crew{{}, mutex, stopping, jobReady};
    for (unsigned i = 0; i < workers; ++i)
        crew.threads.emplace_back(work);

    std::size_t outstanding = 1;
    std::vector<Job> added;
    std::deque<Listing> taken;
    while (outstanding > 0) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            listingReady.wait(lock, [&] { return !listings.empty(); });
            taken.swap(listings);
        }
        for (Listing& listing : taken) {
            add(listing, added);
            outstanding = outstanding - 1 + added.size();
            if (added.empty())
                continue;
            {
                std::lock_guard<std::mutex> lock(mutex);
                std::move(added.begin(), added.end(), std::back_inserter(jobs));
            }
            jobReady.notify_all();
            added.clear();
        }
        taken.clear();
    }
}
