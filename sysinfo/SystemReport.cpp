#include "sysinfo/SystemReport.h"

#include "base/WideText.h"

#include <windows.h>

MemoryFigures QueryMemory()
{
    // The 64-bit status: the 32-bit one caps or wraps from 4 GiB on.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status))
        return {};
    return {status.ullTotalPhys, status.ullAvailPhys};
}

std::optional<String> QueryComputerName()
{
    std::wstring buffer(kWorkBufferSize + 1, L'\0');
    DWORD size = kWorkBufferSize;
    if (!::GetComputerNameW(buffer.data(), &size))
        return std::nullopt;
    return Narrow(buffer.c_str());
}

std::optional<String> QueryUserName()
{
    std::wstring buffer(kWorkBufferSize + 1, L'\0');
    DWORD size = kWorkBufferSize;
    if (!::GetUserNameW(buffer.data(), &size))
        return std::nullopt;
    return Narrow(buffer.c_str());
}

std::uint32_t ExpandTemplate(const char* templateText)
{
    std::wstring buffer(kWorkBufferSize + 1, L'\0');
    return ::ExpandEnvironmentStringsW(Widen(templateText).c_str(), buffer.data(), kWorkBufferSize);
}

HardwareFacts QueryHardware()
{
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    HardwareFacts facts;
    facts.oemId = info.dwOemId;
    facts.processors = info.dwNumberOfProcessors;
    facts.pageSize = info.dwPageSize;
    facts.processorType = info.dwProcessorType;
    facts.minimumAddress = reinterpret_cast<std::uintptr_t>(info.lpMinimumApplicationAddress);
    facts.maximumAddress = reinterpret_cast<std::uintptr_t>(info.lpMaximumApplicationAddress);
    facts.activeProcessorMask = info.dwActiveProcessorMask;
    return facts;
}
