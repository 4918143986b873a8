#pragma once
// The walk that builds the folder tree: siblings in the order the search
// gives them, every folder but those whose names begin with a full stop
// (and everything below them), without a depth limit.
//
// The folder searches may run on worker threads, each walking on its own
// and sharing work only when another runs dry (WorkSharing.h). The calling
// thread alone adds the nodes, in the order the folders were numbered,
// while the searches run (TreeAssembly.h): the tree comes out the same,
// node for node, however the work was shared. Pending folders are kept on the
// heap: a chain thousands deep cannot exhaust any thread's stack.
//
// A folder reached through a link that leads back to a folder above it
// keeps its node but is not walked into: without that, two such links in
// one folder would make the walk endless.
//
// A walk can be stopped from any thread; every walker then ends at its next
// folder, or at the next entry of the folder it lists.
//
// Source must offer, callable from several threads at once:
//   bool List(const String& folderPath, Visit visit)   // visit(std::string_view name, uint32_t attributes)
//                                                      // -> bool, false to end the listing early;
//                                                      // List is false when the folder cannot be searched
//   std::optional<Id> Identify(const String& folderPath)
// AddChild(Node parent, std::string_view name, String path) -> Node is
// called on the calling thread only, and so is Progress(std::size_t
// foldersRead, const String& folderBeingRead), about four times a second
// while the searches run.
#include "base/Text.h"
#include "browser/TreeAssembly.h"
#include "browser/WorkSharing.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
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

// A report redraws the progress window on the calling thread, some 3 ms
// under Wine, taken from the cores the walkers share: four a second still
// show the count moving.
constexpr auto kWalkProgressInterval = std::chrono::milliseconds(250);

struct NoWalkProgress {
    void operator()(std::size_t, const String&) const {}
};

// A folder waiting to be listed.
struct FolderJob {
    FolderNumber number;
    String path;
    bool isLink;
};

// What the walkers report to the calling thread: how many folders were
// read and, now and then, which one. Each walker counts on its own and
// adds its count every kReportEvery folders, and when it waits or stops.
template <class Probe = NoWalkProbe>
class BasicWalkCounter {
public:
    static constexpr std::size_t kReportEvery = 64;

    void Add(std::size_t folders)
    {
        if (folders)
            read_.fetch_add(folders, std::memory_order_relaxed);
    }
    void Note(const String& path)
    {
        auto lock = LockNoted<Probe>(mutex_, WalkWait::CounterLock);
        reading_ = path;
    }
    std::size_t Read() const { return read_.load(); }
    String Reading() const
    {
        auto lock = LockNoted<Probe>(mutex_, WalkWait::CounterLock);
        return reading_;
    }

private:
    std::atomic<std::size_t> read_{0};
    mutable std::mutex mutex_;
    String reading_;
};

using WalkCounter = BasicWalkCounter<>;

// One walker: lists the folders of its own stack, depth first, until the
// walk is over; numbers the subfolders of each folder it has listed and
// hands them to the calling thread in batches. Nothing it shares with the
// other walkers changes per subfolder, and the shared count of folders read
// only every kReportEvery folders. `counted(bool noted)` runs after each folder.
template <class Source, class Probe, class Counted>
void WalkShare(Source& source, WorkSharing<FolderJob, Probe>& sharing, FolderNumbering& numbering,
               BasicWalkCounter<Probe>& counter, BasicFolderHandover<Probe>& handover, Counted&& counted)
{
    std::deque<FolderJob> stack;
    std::vector<FolderJob> children;
    std::vector<WalkedFolder> batch;
    std::size_t uncounted = 0;
    // A walker about to wait for work, or to stop, hands over what it
    // numbered and counted: once every walker waits, every folder has been
    // handed over and counted.
    auto handOverAll = [&] {
        counter.Add(std::exchange(uncounted, 0));
        handover.Give(batch, true);
        return true;
    };
    try {
        while (!sharing.Abandoned() && (!stack.empty() || (handOverAll() && sharing.Take(stack)))) {
            FolderJob job = std::move(stack.back());
            stack.pop_back();
            if (!(job.isLink && LeadsToAncestor(source, job.path))) {
                source.List(job.path, [&](std::string_view name, std::uint32_t attributes) {
                    if (IsTreeFolder(name, attributes)) {
                        String childPath;
                        childPath.reserve(job.path.size() + name.size() + 1);
                        childPath.append(job.path).append(name).push_back('\\');
                        children.push_back({0, std::move(childPath), (attributes & kReparsePointAttribute) != 0});
                    }
                    return !sharing.Abandoned();
                });
            }
            if (!children.empty()) {
                FolderNumber number = numbering.Next(static_cast<FolderNumber>(children.size()));
                for (FolderJob& child : children) {
                    child.number = number++;
                    batch.push_back({child.number, job.number, child.path});
                }
            }
            const bool noted = ++uncounted == BasicWalkCounter<Probe>::kReportEvery;
            if (noted) {
                counter.Add(std::exchange(uncounted, 0));
                counter.Note(job.path);
            }
            counted(noted);
            handover.Give(batch, false);
            // The first child is walked next.
            std::move(children.rbegin(), children.rend(), std::back_inserter(stack));
            children.clear();
            if (sharing.Hungry())
                sharing.Share(stack);
        }
    } catch (...) {
        sharing.Abandon(std::current_exception());
    }
    counter.Add(uncounted);
}

// The walker threads: however their start or the wait for them ends, the
// walk is stopped and every started thread joined before they go.
template <class Sharing>
class WalkerThreads {
public:
    explicit WalkerThreads(Sharing& sharing) : sharing_(sharing) {}
    WalkerThreads(const WalkerThreads&) = delete;
    WalkerThreads& operator=(const WalkerThreads&) = delete;
    ~WalkerThreads() { Stop(); }

    // Throws std::system_error when the platform refuses a thread.
    template <class Walker>
    void Start(Walker&& walker)
    {
        threads_.reserve(threads_.size() + 1);
        threads_.emplace_back(std::forward<Walker>(walker));
    }
    // Waits for the threads; unless the walk ended on its own (`finished`),
    // stops it first.
    void Stop(bool finished = false)
    {
        if (!threads_.empty() && !finished)
            sharing_.Abandon();
        for (std::thread& thread : threads_)
            thread.join();
        threads_.clear();
    }
    std::size_t Started() const { return threads_.size(); }

private:
    Sharing& sharing_;
    std::vector<std::thread> threads_;
};

// The walk of everything below one folder. The searches start on worker
// threads as soon as it is made (with no workers, on the calling thread
// once Build runs); Build adds the nodes while they run. Going before Build
// has finished stops the searches and waits for them. Probe counts the
// walk's own waits (WalkWaits.h), for the benchmark.
template <class Source, class Probe = NoWalkProbe>
class FolderTreeWalk {
public:
    FolderTreeWalk(Source& source, String rootPath, unsigned workers) : source_(source), rootPath_(std::move(rootPath))
    {
        Begin(workers);
        try {
            for (unsigned i = 0; i < workers; ++i)
                threads_->Start([this] {
                    WalkShare(source_, walk_->sharing, walk_->numbering, walk_->counter, walk_->handover, [](bool) {});
                });
        } catch (const std::system_error&) {
            // The stopped walk starts again on the calling thread alone.
            Begin(0);
        }
    }
    FolderTreeWalk(const FolderTreeWalk&) = delete;
    FolderTreeWalk& operator=(const FolderTreeWalk&) = delete;

    const String& RootPath() const { return rootPath_; }

    // Ends the searches wherever they are; from any thread, at any time.
    // Once it has returned, Build adds no further node.
    void Stop() { walk_->sharing.Abandon(); }

    // Adds every folder below the root under `root` through addChild(Node
    // parent, std::string_view name, String path) -> Node, on the calling
    // thread, and calls progress(std::size_t foldersRead, const String&
    // folderBeingRead) there about four times a second. False when the walk
    // was stopped before Build ended, even as its last folder was read: the
    // tree then holds what was added until then. A failure of the searches
    // or of either callback stops the walk and is passed on; no node is
    // added after the searches failed.
    template <class Node, class AddChild, class Progress = NoWalkProgress>
    bool Build(Node root, AddChild&& addChild, Progress&& progress = {})
    {
        Walk& walk = *walk_;
        TreeAssembler<Node> assembler(root);
        auto stopped = [&walk] { return walk.sharing.Abandoned(); };
        auto nextProgress = std::chrono::steady_clock::now() + kWalkProgressInterval;
        std::vector<WalkedFolder> arrived;
        auto reportAndAssemble = [&] {
            progress(walk.counter.Read(), walk.counter.Reading());
            walk.handover.TakeAll(arrived);
            assembler.Add(arrived, addChild, stopped);
            nextProgress = std::chrono::steady_clock::now() + kWalkProgressInterval;
        };
        if (threads_->Started() == 0) {
            WalkShare(source_, walk.sharing, walk.numbering, walk.counter, walk.handover, [&](bool noted) {
                if (noted && std::chrono::steady_clock::now() >= nextProgress)
                    reportAndAssemble();
            });
        } else {
            // A callback that throws leaves the walk to its owner, which
            // stops and joins the walkers.
            while (!walk.sharing.WaitUntilDone(nextProgress))
                reportAndAssemble();
            threads_->Stop(true);
        }
        if (std::exception_ptr failure = walk.sharing.Failure())
            std::rethrow_exception(failure);
        walk.handover.TakeAll(arrived);
        assembler.Add(arrived, addChild, stopped);
        return !stopped();
    }

private:
    // What the walkers share, made anew when the walk starts again.
    struct Walk {
        explicit Walk(unsigned walkers) : sharing(walkers) {}
        WorkSharing<FolderJob, Probe> sharing;
        FolderNumbering numbering;
        BasicWalkCounter<Probe> counter;
        BasicFolderHandover<Probe> handover;
    };

    void Begin(unsigned workers)
    {
        threads_.reset(); // stops and joins what runs
        walk_ = std::make_unique<Walk>(std::max(workers, 1u));
        walk_->sharing.Seed({0, rootPath_, false});
        threads_ = std::make_unique<WalkerThreads<WorkSharing<FolderJob, Probe>>>(walk_->sharing);
    }

    Source& source_;
    const String rootPath_;
    std::unique_ptr<Walk> walk_;
    // Last, so that it goes first: the walkers stop before what they use.
    std::unique_ptr<WalkerThreads<WorkSharing<FolderJob, Probe>>> threads_;
};

template <class Source, class Node, class AddChild, class Progress = NoWalkProgress>
bool WalkFolders(Source& source, const String& rootPath, Node root, AddChild&& addChild, unsigned workers = 0,
                 Progress&& progress = {})
{
    return FolderTreeWalk<Source>(source, rootPath, workers).Build(root, addChild, progress);
}
