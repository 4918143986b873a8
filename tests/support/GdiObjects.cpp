#include "tests/support/GdiObjects.h"

#include "tests/support/Fixtures.h"

#include <windows.h>

#include <winternl.h>

#include <cstdint>

namespace {

// Wine answers GetGuiResources with 0 and keeps each process's objects in a
// table of its own, found as Windows finds its shared one: through the
// process's environment block. An entry with a type is a live object.
struct WineHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(WineHandleEntry) == 24);
constexpr std::size_t kWineHandles = 0x10000;

HMODULE Ntdll()
{
    return ::GetModuleHandleW(L"ntdll.dll");
}

template <class Function>
Function NtdllEntry(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(Ntdll(), name)));
}

using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

const unsigned char* ProcessBlock()
{
    const auto query = NtdllEntry<Query>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), 0, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    return reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
}

#ifdef _WIN64
const WineHandleEntry* WineHandleTable()
{
    const unsigned char* peb = ProcessBlock();
    return peb ? *reinterpret_cast<const WineHandleEntry* const*>(peb + 0xF8) : nullptr;
}
#else
// A 32-bit Wine has the table in the process's environment block; one
// whose Windows side is 64-bit (as under WOW64) only in the 64-bit block
// beside it, named by the thread's GdiBatchCount.
const WineHandleEntry* WineHandleTable()
{
    if (const unsigned char* peb = ProcessBlock())
        if (const auto* table = *reinterpret_cast<const WineHandleEntry* const*>(peb + 0x94))
            return table;
    struct ThreadBasic {
        LONG exitStatus;
        void* teb;
        void* ids[2];
        ULONG_PTR affinity;
        LONG priority;
        LONG basePriority;
    } basic{};
    const auto query = NtdllEntry<Query>("NtQueryInformationThread");
    if (!query || query(::GetCurrentThread(), 0, &basic, sizeof basic, nullptr) != 0 || !basic.teb)
        return nullptr;
    const std::uint32_t teb64 = *reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(basic.teb) + 0xF70);
    if (!teb64)
        return nullptr;
    const std::uint64_t peb64 = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(teb64) + 0x60);
    if (!peb64 || peb64 > UINTPTR_MAX)
        return nullptr;
    const std::uint64_t table = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(peb64) + 0xF8);
    if (table > UINTPTR_MAX)
        return nullptr;
    return reinterpret_cast<const WineHandleEntry*>(static_cast<std::uintptr_t>(table));
}
#endif

} // namespace

std::optional<long> GdiObjectCount()
{
    if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<long>(count);
    if (!RunningUnderWine())
        return std::nullopt;
    const WineHandleEntry* table = WineHandleTable();
    if (!table)
        return std::nullopt;
    long live = 0;
    for (std::size_t i = 0; i < kWineHandles; ++i)
        live += table[i].type != 0;
    return live;
}
