#include "benchmark/ThreadAccounts.h"

#include <windows.h>

#include <x86intrin.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

std::uint64_t FileTimeValue(const FILETIME& time)
{
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// User and kernel time from GetProcessTimes or GetThreadTimes, which ask alike.
double CpuSeconds(BOOL(WINAPI* times)(HANDLE, FILETIME*, FILETIME*, FILETIME*, FILETIME*), HANDLE of)
{
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!times(of, &created, &exited, &kernel, &user))
        return 0;
    return static_cast<double>(FileTimeValue(kernel) + FileTimeValue(user)) / 1e7;
}

// Never destroyed: the main thread's end is noted after the statics went.
std::mutex& EndedMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

// Reserved once, so that noting a thread's end allocates nothing.
std::vector<ThreadEnd>& Ended()
{
    static auto* ended = [] {
        auto* v = new std::vector<ThreadEnd>;
        v->reserve(256);
        return v;
    }();
    return *ended;
}

// Each thread counts in a slot of its own, found by its id: the count
// adds no traffic between the cores, and stays when the thread has ended
// (its thread-local storage is gone then), for AllAllocations().
struct alignas(64) Slot {
    std::atomic<DWORD> thread{0};
    std::atomic<std::uint64_t> allocations{0};
    WaitAccount waits; // written by its own thread only, read once it has ended or stands still
};
Slot slots[512];

Slot* SlotOf(DWORD thread)
{
    for (Slot& slot : slots)
        if (slot.thread.load(std::memory_order_relaxed) == thread)
            return &slot;
    for (Slot& slot : slots) {
        DWORD free = 0;
        if (slot.thread.compare_exchange_strong(free, thread))
            return &slot;
    }
    return nullptr;
}

// Made in each thread by its first allocation; notes the thread as it ends.
struct EndNote {
    ~EndNote()
    {
        const ThreadEnd end{::GetCurrentThreadId(), Seconds()};
        std::lock_guard<std::mutex> lock(EndedMutex());
        // An allocation after the thread's destructors ran makes its note
        // again: the later note replaces the earlier. The platform hands out
        // thread ids in turn, so an id is not met again within one run.
        for (ThreadEnd& noted : Ended())
            if (noted.id == end.id) {
                noted = end;
                return;
            }
        if (Ended().size() < Ended().capacity())
            Ended().push_back(end);
    }
};
thread_local EndNote endNote;
thread_local bool noted = false;

Slot* OwnSlot()
{
    thread_local Slot* slot = nullptr;
    if (!slot)
        slot = SlotOf(::GetCurrentThreadId());
    return slot;
}

// A call of the allocator that waits for no other thread takes well under
// a microsecond; one that takes 20 µs waited for the heap's lock or was
// pre-empted (on a loaded machine the two cannot be told apart here).
constexpr double kSlowAllocatorSeconds = 20e-6;

void NoteAllocator(std::uint64_t start, std::size_t bytes)
{
    Slot* slot = OwnSlot();
    if (!slot)
        return;
    const std::uint64_t took = __rdtsc() - start;
    WaitAccount& waits = slot->waits;
    ++waits.allocatorCalls;
    waits.allocatorTicks += took;
    waits.bytes += bytes;
    static const auto slow = static_cast<std::uint64_t>(kSlowAllocatorSeconds * TicksPerSecond());
    if (took > slow)
        ++waits.allocatorSlow;
}

void Count()
{
    Slot* slot = OwnSlot();
    if (slot)
        slot->allocations.store(slot->allocations.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    if (!noted) {
        noted = true;
        static_cast<void>(&endNote);
    }
}

} // namespace

double Seconds()
{
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::uint64_t ThreadAllocations()
{
    const Slot* slot = SlotOf(::GetCurrentThreadId());
    return slot ? slot->allocations.load() : 0;
}

std::uint64_t AllAllocations()
{
    std::uint64_t all = 0;
    for (const Slot& slot : slots)
        all += slot.allocations.load(std::memory_order_relaxed);
    return all;
}

double ProcessCpuSeconds()
{
    return CpuSeconds(::GetProcessTimes, ::GetCurrentProcess());
}

double ThreadCpuSeconds()
{
    return CpuSeconds(::GetThreadTimes, ::GetCurrentThread());
}

WaitAccount& WaitAccount::operator-=(const WaitAccount& earlier)
{
    for (std::size_t i = 0; i < kKinds; ++i) {
        count[i] -= earlier.count[i];
        ticks[i] -= earlier.ticks[i];
    }
    allocatorCalls -= earlier.allocatorCalls;
    allocatorTicks -= earlier.allocatorTicks;
    allocatorSlow -= earlier.allocatorSlow;
    bytes -= earlier.bytes;
    searches -= earlier.searches;
    return *this;
}

double TicksPerSecond()
{
    static const double perSecond = [] {
        const double start = Seconds();
        const std::uint64_t ticks = __rdtsc();
        ::Sleep(50);
        return static_cast<double>(__rdtsc() - ticks) / (Seconds() - start);
    }();
    return perSecond;
}

WaitAccount ThreadWaits()
{
    const Slot* slot = OwnSlot();
    return slot ? slot->waits : WaitAccount{};
}

WaitAccount AllWaits()
{
    WaitAccount all;
    for (const Slot& slot : slots) {
        for (std::size_t i = 0; i < WaitAccount::kKinds; ++i) {
            all.count[i] += slot.waits.count[i];
            all.ticks[i] += slot.waits.ticks[i];
        }
        all.allocatorCalls += slot.waits.allocatorCalls;
        all.allocatorTicks += slot.waits.allocatorTicks;
        all.allocatorSlow += slot.waits.allocatorSlow;
        all.bytes += slot.waits.bytes;
        all.searches += slot.waits.searches;
    }
    return all;
}

void NoteWait(WalkWait what, std::uint64_t start)
{
    if (Slot* slot = OwnSlot()) {
        ++slot->waits.count[static_cast<std::size_t>(what)];
        slot->waits.ticks[static_cast<std::size_t>(what)] += __rdtsc() - start;
    }
}

void NoteEvent(WalkWait what)
{
    if (Slot* slot = OwnSlot())
        ++slot->waits.count[static_cast<std::size_t>(what)];
}

void NoteSearch()
{
    if (Slot* slot = OwnSlot())
        ++slot->waits.searches;
}

std::uint64_t BenchWalkProbe::Start()
{
    return __rdtsc();
}

std::vector<ThreadEnd> EndedThreads()
{
    std::lock_guard<std::mutex> lock(EndedMutex());
    return Ended();
}

namespace {

// A release takes the heap's lock as an allocation does.
void Free(void* block)
{
    if (!block)
        return;
    const std::uint64_t start = __rdtsc();
    std::free(block);
    NoteAllocator(start, 0);
}

} // namespace

void* operator new(std::size_t size)
{
    Count();
    const std::uint64_t start = __rdtsc();
    void* block = std::malloc(size ? size : 1);
    NoteAllocator(start, size);
    if (block)
        return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* block) noexcept
{
    Free(block);
}

void operator delete[](void* block) noexcept
{
    Free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Free(block);
}
