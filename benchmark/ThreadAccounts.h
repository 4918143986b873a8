#pragma once
// Where a walk spends its time and its allocations: the benchmark replaces
// operator new to count every allocation of the thread that makes it, and
// notes when each thread ends. The runtime may note a thread only after it
// was joined, so processor time and allocations of the walkers come from
// the process's totals less the calling thread's.
#include "browser/WalkWaits.h"

#include <array>
#include <cstdint>
#include <vector>

struct ThreadEnd {
    unsigned long id;
    double endedAt; // on the benchmark's clock (Seconds())
};

double Seconds();

// Allocations made so far by the calling thread.
std::uint64_t ThreadAllocations();

// Allocations made so far by every thread, ended ones included.
std::uint64_t AllAllocations();

// The calling thread's processor time so far.
double ThreadCpuSeconds();

// The processor time of every thread of the process so far, ended ones included.
double ProcessCpuSeconds();

// The threads that have ended since the process started and made at least
// one allocation (which every folder walker does).
std::vector<ThreadEnd> EndedThreads();

// The waits of a thread: per kind of WalkWait, how many and for how long;
// the allocator's calls, the bytes they asked for, the time they took and
// how many took longer than a call that waits for nobody could; the
// folder searches made.
struct WaitAccount {
    static constexpr std::size_t kKinds = static_cast<std::size_t>(WalkWait::Handover) + 1;
    std::array<std::uint64_t, kKinds> count{};
    std::array<std::uint64_t, kKinds> ticks{};
    std::uint64_t allocatorCalls = 0;
    std::uint64_t allocatorTicks = 0;
    std::uint64_t allocatorSlow = 0;
    std::uint64_t bytes = 0;
    std::uint64_t searches = 0;

    WaitAccount& operator-=(const WaitAccount& earlier);
};

// Time-stamp counter ticks per second, measured once.
double TicksPerSecond();

// The calling thread's account, and every thread's together.
WaitAccount ThreadWaits();
WaitAccount AllWaits();

// Notes a wait of the calling thread that began at `start` (a time-stamp
// count), or one search.
void NoteWait(WalkWait what, std::uint64_t start);
void NoteEvent(WalkWait what);
void NoteSearch();

// The probe the benchmark walks with.
struct BenchWalkProbe {
    static constexpr bool kTimes = true;
    static std::uint64_t Start();
    static void Blocked(WalkWait what, std::uint64_t start) { NoteWait(what, start); }
    static void Counted(WalkWait what) { NoteEvent(what); }
};
