#pragma once
// Where a walk spends its time and its allocations, thread by thread: the
// benchmark replaces operator new to count every allocation of the thread
// that makes it, and notes each thread's processor time as it ends. The
// runtime may note a thread only after it was joined, so totals come from
// the process, and the notes only say when the walkers ended.
#include <cstdint>
#include <vector>

struct ThreadAccount {
    unsigned long id;
    double cpuSeconds; // user and kernel time, from the platform
    double endedAt;    // on the benchmark's clock (Seconds())
    std::uint64_t allocations;
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
std::vector<ThreadAccount> EndedThreads();
