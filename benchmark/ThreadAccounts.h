#pragma once
// Where a walk spends its time and its allocations: the benchmark replaces
// operator new to count every allocation of the thread that makes it, and
// notes when each thread ends. The runtime may note a thread only after it
// was joined, so processor time and allocations of the walkers come from
// the process's totals less the calling thread's.
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
