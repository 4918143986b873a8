#pragma once
// Numbering and assembly of a walked tree. Every folder gets a number when
// its parent is listed, so parents come before children and siblings keep
// the search's order whichever thread listed them. The walkers hand the
// numbered folders over in batches, in any order; the calling thread adds
// each one as soon as every number before it has arrived, so the tree grows
// while the searches run and is complete the moment they end.
#include "base/Text.h"
#include "browser/WalkWaits.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

using FolderNumber = std::uint32_t;

// Hands out the numbers; 0 is the root. A listed folder's subfolders take
// theirs at once, the first of `count` consecutive ones: the walkers share
// the counter, and each change of it moves it between their cores.
class FolderNumbering {
public:
    FolderNumber Next(FolderNumber count = 1) { return next_.fetch_add(count, std::memory_order_relaxed); }
    FolderNumber Count() const { return next_.load(); }

private:
    std::atomic<FolderNumber> next_{1};
};

// A numbered folder waiting for its node. The name is the last component
// of the path, which ends in a backslash.
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

// Where the walkers leave numbered folders for the calling thread. A walker
// passes a batch on only when nobody holds the lock: it never waits for the
// calling thread, except once at the end of its work.
template <class Probe = NoWalkProbe>
class BasicFolderHandover {
public:
    static constexpr std::size_t kBatch = 256;

    // Passes `batch` on when it is full (or `atOnce`) and the lock is free,
    // waiting for the lock only when `atOnce`; `batch` is empty afterwards
    // exactly when it was passed on.
    void Give(std::vector<WalkedFolder>& batch, bool atOnce)
    {
        if (batch.empty() || (!atOnce && batch.size() < kBatch))
            return;
        std::unique_lock<std::mutex> lock;
        if (atOnce) {
            lock = LockNoted<Probe>(mutex_, WalkWait::HandoverLock);
        } else {
            lock = std::unique_lock<std::mutex>(mutex_, std::try_to_lock);
            if (!lock.owns_lock())
                return;
        }
        Probe::Counted(WalkWait::Handover);
        if (given_.empty()) {
            given_.swap(batch);
        } else {
            given_.insert(given_.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
            batch.clear();
        }
        lock.unlock();
        // A batch that grew from nothing would be allocated and moved some
        // nine times on the way to kBatch folders. Once the calling thread
        // has given storage back (TakeAll), `batch` holds some already.
        if (batch.capacity() < kBatch)
            batch.reserve(kBatch);
    }

    // Moves everything passed on so far, in the order it came, into
    // `taken`, emptied first. Its storage stays behind for the next
    // batch a walker passes on: batches go round instead of being
    // allocated anew and freed on another thread.
    void TakeAll(std::vector<WalkedFolder>& taken)
    {
        taken.clear();
        auto lock = LockNoted<Probe>(mutex_, WalkWait::HandoverLock);
        taken.swap(given_);
    }

private:
    std::mutex mutex_;
    std::vector<WalkedFolder> given_;
};

using FolderHandover = BasicFolderHandover<>;

struct NeverStopped {
    bool operator()() const { return false; }
};

// Adds the walked folders below `root` through addChild(Node parent,
// std::string_view name, String path) -> Node, parents first and siblings
// in number order, whatever order they arrive in. Each path is moved into
// addChild. Once stopped() is true, nothing more is added.
template <class Node>
class TreeAssembler {
public:
    explicit TreeAssembler(Node root) { nodes_.push_back(root); }

    template <class AddChild, class Stopped = NeverStopped>
    void Add(std::vector<WalkedFolder>& arrived, AddChild& addChild, Stopped&& stopped = {})
    {
        for (WalkedFolder& folder : arrived) {
            const std::size_t at = folder.number - next();
            if (waiting_.size() <= at)
                waiting_.resize(at + 1);
            waiting_[at].emplace(std::move(folder));
        }
        arrived.clear();
        while (!waiting_.empty() && waiting_.front() && !stopped()) {
            WalkedFolder& folder = *waiting_.front();
            // The name is copied before the path it points into moves away.
            const String name(folder.Name());
            nodes_.push_back(addChild(nodes_[folder.parent], std::string_view(name), std::move(folder.path)));
            waiting_.pop_front();
        }
    }

    // Folders added so far, the root not counted.
    FolderNumber Added() const { return static_cast<FolderNumber>(nodes_.size() - 1); }

    // Whether folders arrived that wait for an earlier number.
    bool Waiting() const { return !waiting_.empty(); }

private:
    FolderNumber next() const { return static_cast<FolderNumber>(nodes_.size()); }

    std::deque<Node> nodes_;                          // by number; a deque grows without copying what it holds
    std::deque<std::optional<WalkedFolder>> waiting_; // numbers next(), next() + 1, ...
};
