#pragma once
// The walk that builds the folder tree: siblings in the order the search
// gives them, every folder but those whose names begin with a full stop
// (and everything below them), without a depth limit.
//
// The folder searches may run on worker threads, each walking on its own
// and handing work to the other only when it runs dry: under Wine every
// wait between threads costs a round trip to the server, so nothing is
// exchanged per folder. Every folder gets a number when its parent is
// listed, so parents come before children and siblings keep the search's
// order; the calling thread alone adds the nodes, in that order, once the
// searches are done. The tree comes out the same, node for node, however
// the work was shared. Pending folders are kept on the heap: a chain
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
// AddChild(Node parent, std::string_view name, String path) -> Node is
// called on the calling thread only, and so is Progress(std::size_t
// foldersRead, const String& folderBeingRead), about ten times a second
// while the searches run.
#include "ui/Text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
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

struct NoWalkProgress {
    void operator()(std::size_t, const String&) const {}
};

template <class Source, class Node, class AddChild, class Progress = NoWalkProgress>
void WalkFolders(Source& source, const String& rootPath, Node root, AddChild&& addChild, unsigned workers = 0,
                 Progress&& progress = {})
{
    using Number = std::uint32_t;
    struct Job {
        Number number;
        Number parent;
        String name;
        String path;
        bool isLink;
    };
    // A folder that has been walked, waiting for its node.
    struct Walked {
        Number number;
        Number parent;
        String name;
        String path;
    };

    const unsigned walkers = std::max(workers, 1u);
    std::atomic<Number> numbers{1}; // 0 is the root
    std::mutex mutex;
    std::condition_variable workShared;
    std::condition_variable walkDone;
    std::deque<Job> shared;
    unsigned idle = 0;
    std::atomic<unsigned> hungry{0};
    bool finished = false;
    std::exception_ptr failure;
    std::atomic<bool> abandoned{false};
    std::atomic<std::size_t> read{0};
    String reading; // guarded by mutex, refreshed now and then
    constexpr std::size_t kReportEvery = 64;
    constexpr auto kProgressInterval = std::chrono::milliseconds(100);
    auto nextProgress = std::chrono::steady_clock::now() + kProgressInterval;
    auto reportProgress = [&] {
        String current;
        {
            std::lock_guard<std::mutex> lock(mutex);
            current = reading;
        }
        progress(read.load(), current);
        nextProgress = std::chrono::steady_clock::now() + kProgressInterval;
    };

    shared.push_back({0, 0, String(), rootPath, false});
    std::vector<std::vector<Walked>> walked(walkers);

    // Takes shared work, or reports idle; false once everything is walked.
    auto takeShared = [&](std::deque<Job>& stack) {
        std::unique_lock<std::mutex> lock(mutex);
        while (shared.empty() && !finished) {
            if (++idle == walkers) {
                finished = true;
                workShared.notify_all();
                walkDone.notify_all();
                break;
            }
            ++hungry;
            workShared.wait(lock, [&] { return !shared.empty() || finished; });
            --hungry;
            --idle;
        }
        if (shared.empty())
            return false;
        stack.push_back(std::move(shared.front()));
        shared.pop_front();
        return true;
    };

    auto walk = [&](std::vector<Walked>& out) {
        std::deque<Job> stack;
        std::vector<Job> children;
        try {
            while (!abandoned.load(std::memory_order_relaxed) && (!stack.empty() || takeShared(stack))) {
                Job job = std::move(stack.back());
                stack.pop_back();
                if (!(job.isLink && LeadsToAncestor(source, job.path))) {
                    source.List(job.path, [&](std::string_view name, std::uint32_t attributes) {
                        if (!IsTreeFolder(name, attributes))
                            return;
                        String childPath;
                        childPath.reserve(job.path.size() + name.size() + 1);
                        childPath.append(job.path).append(name).push_back('\\');
                        children.push_back({numbers++, job.number, String(name), std::move(childPath),
                                            (attributes & kReparsePointAttribute) != 0});
                    });
                }
                if (++read % kReportEvery == 0) {
                    {
                        std::lock_guard<std::mutex> lock(mutex);
                        reading = job.path;
                    }
                    // Without workers the walk runs on the calling thread.
                    if (workers == 0 && std::chrono::steady_clock::now() >= nextProgress)
                        reportProgress();
                }
                if (job.number != 0)
                    out.push_back({job.number, job.parent, std::move(job.name), std::move(job.path)});
                // The first child is walked next.
                std::move(children.rbegin(), children.rend(), std::back_inserter(stack));
                children.clear();
                // A walker that ran dry gets the oldest pending folder, the
                // one most likely to hold a large subtree.
                if (hungry.load(std::memory_order_relaxed) > 0 && stack.size() > 1) {
                    std::lock_guard<std::mutex> lock(mutex);
                    shared.push_back(std::move(stack.front()));
                    stack.pop_front();
                    workShared.notify_one();
                }
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            if (!failure)
                failure = std::current_exception();
            abandoned = true;
            finished = true;
            shared.clear();
            workShared.notify_all();
            walkDone.notify_all();
        }
    };

    if (workers == 0) {
        walk(walked[0]);
    } else {
        std::vector<std::thread> threads;
        for (unsigned i = 0; i < workers; ++i)
            threads.emplace_back(walk, std::ref(walked[i]));
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (!walkDone.wait_until(lock, nextProgress, [&] { return finished; })) {
                lock.unlock();
                try {
                    reportProgress();
                    lock.lock();
                } catch (...) {
                    // The workers must be stopped before anything unwinds.
                    lock.lock();
                    failure = std::current_exception();
                    abandoned = true;
                    finished = true;
                    shared.clear();
                    workShared.notify_all();
                }
            }
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    if (failure)
        std::rethrow_exception(failure);

    // Parents were numbered before their children: one pass in number order
    // adds every node under a parent that already has its own.
    const Number count = numbers.load();
    std::vector<Walked*> byNumber(count, nullptr);
    for (std::vector<Walked>& list : walked)
        for (Walked& folder : list)
            byNumber[folder.number] = &folder;
    std::vector<Node> nodes(count);
    nodes[0] = root;
    for (Number n = 1; n < count; ++n) {
        Walked& folder = *byNumber[n];
        nodes[n] = addChild(nodes[folder.parent], std::string_view(folder.name), std::move(folder.path));
    }
}
