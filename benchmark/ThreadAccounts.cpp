#include "benchmark/ThreadAccounts.h"

#include <windows.h>

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

void Count()
{
    thread_local Slot* slot = nullptr;
    if (!slot)
        slot = SlotOf(::GetCurrentThreadId());
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

std::vector<ThreadEnd> EndedThreads()
{
    std::lock_guard<std::mutex> lock(EndedMutex());
    return Ended();
}

void* operator new(std::size_t size)
{
    Count();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
