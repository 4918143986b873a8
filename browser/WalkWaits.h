#pragma once
// Where a walker can wait on the walk's own synchronisation. The program
// counts nothing (NoWalkProbe compiles to the plain waits); the benchmark
// passes a probe that times every wait that blocks, so that the program's
// walk and the bare walk can be told apart on any machine.
#include <mutex>

enum class WalkWait {
    SharingLock,  // the work-sharing lock was held by another thread
    SharingIdle,  // a walker slept until work was shared or the walk ended
    SharingWake,  // a wake sent to the threads that sleep on the work-sharing lock
    DoneWait,     // the calling thread slept until the walk ended or a report was due
    HandoverLock, // the hand-over of numbered folders was held by another thread
    CounterLock,  // the note of the folder being read was held by another thread
    Handover,     // a batch of numbered folders passed to the calling thread
};

// A probe offers: kTimes, Start() -> token, Blocked(WalkWait, token) when a
// wait that began at `token` has ended, Counted(WalkWait) for an event.
struct NoWalkProbe {
    static constexpr bool kTimes = false;
    static int Start() { return 0; }
    static void Blocked(WalkWait, int) {}
    static void Counted(WalkWait) {}
};

// Locks `mutex`, noting the time it took when another thread held it.
template <class Probe, class Mutex>
std::unique_lock<Mutex> LockNoted(Mutex& mutex, WalkWait what)
{
    if constexpr (!Probe::kTimes) {
        return std::unique_lock<Mutex>(mutex);
    } else {
        std::unique_lock<Mutex> lock(mutex, std::try_to_lock);
        if (!lock.owns_lock()) {
            const auto start = Probe::Start();
            lock.lock();
            Probe::Blocked(what, start);
        }
        return lock;
    }
}
