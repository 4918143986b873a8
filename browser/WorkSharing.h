#pragma once
// The pending folders of a walk on several threads. Each walker keeps its
// own stack and hands work over only when another walker has run dry, and
// then half of what it holds: under Wine every wait between threads costs a
// round trip to the server, so nothing may be exchanged per folder, not
// even in a folder with a hundred thousand subfolders.
#include "browser/WalkWaits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

template <class Job, class Probe = NoWalkProbe>
class WorkSharing {
public:
    explicit WorkSharing(unsigned walkers) : walkers_(walkers < 1 ? 1 : walkers) {}
    WorkSharing(const WorkSharing&) = delete;
    WorkSharing& operator=(const WorkSharing&) = delete;

    void Seed(Job job)
    {
        auto lock = Lock();
        shared_.push_back(std::move(job));
    }

    // Moves shared work onto `stack` (the oldest at its front), waiting while
    // other walkers still work; false once everything is walked or the walk
    // was abandoned.
    bool Take(std::deque<Job>& stack)
    {
        auto lock = Lock();
        while (shared_.empty() && !finished_) {
            if (++idle_ == walkers_) {
                finished_ = true;
                // The others wake to a free lock. The walk's owner joins
                // this walker before the sharing goes, so the wake outlives
                // nothing.
                const bool othersWait = waiting_ > 0;
                lock.unlock();
                if (othersWait)
                    WakeWalkers(true);
                WakeOwner();
                return false;
            }
            ++waiting_;
            while (shared_.empty() && !finished_) {
                const auto start = Probe::Start();
                changed_.wait(lock);
                Probe::Blocked(WalkWait::SharingIdle, start);
            }
            --waiting_;
            --idle_;
        }
        if (finished_ && abandoned_)
            return false;
        if (shared_.empty())
            return false;
        ++handovers_;
        for (Job& job : shared_)
            stack.push_front(std::move(job));
        shared_.clear();
        return true;
    }

    // Whether a walker waits for work: asked after every folder, so no lock.
    bool Hungry() const { return waiting_.load(std::memory_order_relaxed) > 0; }

    // Hands the older half of `stack` (its front: the folders nearest the
    // top of the tree, the ones most likely to hold large subtrees) to the
    // walkers that wait. The back, walked next, stays.
    void Share(std::deque<Job>& stack)
    {
        if (stack.size() < 2)
            return;
        auto lock = Lock();
        if (waiting_ == 0 || !shared_.empty())
            return;
        const std::size_t half = stack.size() / 2;
        // Kept in the stack's order: the oldest ends up at the taker's front.
        for (std::size_t i = 0; i < half; ++i) {
            shared_.push_front(std::move(stack.front()));
            stack.pop_front();
        }
        // One taker moves all that is shared.
        lock.unlock();
        WakeWalkers(false);
    }

    // Stops every walker at its next folder; the first failure is kept.
    void Abandon(std::exception_ptr failure = nullptr)
    {
        auto lock = Lock();
        if (failure && !failure_)
            failure_ = std::move(failure);
        abandoned_ = true;
        finished_ = true;
        shared_.clear();
        // Under the lock: the caller may be any thread, and the walk may
        // go as soon as its owner sees it abandoned.
        WakeWalkers(true);
        WakeOwner();
    }

    // Asked after every folder, so no lock.
    bool Abandoned() const { return abandoned_.load(std::memory_order_relaxed); }

    // Waits until every walker is idle or the walk was abandoned, or until
    // `deadline`; true when the walk is over.
    bool WaitUntilDone(std::chrono::steady_clock::time_point deadline)
    {
        auto lock = Lock();
        while (!finished_) {
            const auto start = Probe::Start();
            const bool timedOut = done_.wait_until(lock, deadline) == std::cv_status::timeout;
            Probe::Blocked(WalkWait::DoneWait, start);
            if (timedOut)
                return finished_;
        }
        return true;
    }

    std::exception_ptr Failure() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return failure_;
    }

    // Walkers waiting for work right now, and how often work changed hands.
    unsigned Waiting() const { return waiting_.load(); }
    std::size_t Handovers() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return handovers_;
    }

private:
    std::unique_lock<std::mutex> Lock() const { return LockNoted<Probe>(mutex_, WalkWait::SharingLock); }
    void WakeWalkers(bool all)
    {
        Probe::Counted(WalkWait::SharingWake);
        if (all)
            changed_.notify_all();
        else
            changed_.notify_one();
    }
    void WakeOwner()
    {
        Probe::Counted(WalkWait::SharingWake);
        done_.notify_all();
    }

    const unsigned walkers_;
    mutable std::mutex mutex_;
    // Walkers sleep on changed_ until work is shared; the walk's owner on
    // done_ until the walk is over, so that sharing work wakes no one else.
    std::condition_variable changed_;
    std::condition_variable done_;
    std::deque<Job> shared_;
    unsigned idle_ = 0;
    std::atomic<unsigned> waiting_{0};
    std::size_t handovers_ = 0;
    bool finished_ = false;
    std::atomic<bool> abandoned_{false};
    std::exception_ptr failure_;
};
