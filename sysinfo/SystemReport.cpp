#include "sysinfo/SystemReport.h"

#include "platform/MonitorFallbacks.h"
#include "sysinfo/ReportText.h"
#include "sysinfo/SysInfoWindow.h"
#include "ui/Dialogs.h"
#include "ui/WideText.h"

#include <windows.h>

#include <cstring>
#include <optional>

namespace {

// Every call that fills the shared work buffer is given this size.
constexpr DWORD kWorkSize = 32767;

struct MemoryFigures {
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

MemoryFigures QueryMemory()
{
    // The 64-bit status: the 32-bit one caps or wraps from 4 GiB on.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status))
        return {};
    return {status.ullTotalPhys, status.ullAvailPhys};
}

// Null when the call failed, so that a failed query shows nothing rather
// than what an earlier one left in the buffer.
std::optional<String> QueryComputerName()
{
    std::wstring buffer(kWorkSize + 1, L'\0');
    DWORD size = kWorkSize;
    if (!::GetComputerNameW(buffer.data(), &size))
        return std::nullopt;
    return Narrow(buffer.c_str());
}

std::optional<String> QueryUserName()
{
    std::wstring buffer(kWorkSize + 1, L'\0');
    DWORD size = kWorkSize;
    if (!::GetUserNameW(buffer.data(), &size))
        return std::nullopt;
    return Narrow(buffer.c_str());
}

std::uint32_t ExpandTemplate(const char* templateText, std::wstring& buffer)
{
    return ::ExpandEnvironmentStringsW(Widen(templateText).c_str(), buffer.data(), kWorkSize);
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

} // namespace

String PrimaryDisplayIdentifier()
{
    // Cleared once: the single-screen fallback writes no identifier, which
    // must then read as empty, not as whatever the stack held.
    DISPLAY_DEVICEA device;
    std::memset(&device, 0, sizeof device);
    device.cb = sizeof device;
    for (DWORD index = 0; FallbackEnumDisplayDevices(nullptr, index, &device, 0); ++index)
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)
            return AnsiToUtf8({device.DeviceID, ::strnlen(device.DeviceID, sizeof device.DeviceID)});
    return {};
}

void ShowMemoryInfo(TSysInfoTest& form)
{
    const MemoryFigures memory = QueryMemory();
    form.MemField->SetText(std::to_string(WholeMebibytes(memory.totalBytes)));
    form.AbleMemField->SetText(std::to_string(WholeMebibytes(memory.availableBytes)));

    const String identifier = PrimaryDisplayIdentifier();
    if (identifier.empty())
        return;
    const IdentifierPieces pieces = SplitDisplayIdentifier(identifier);
    ShowMessage(pieces.first);
    ShowMessage(pieces.second);
}

void ShowSystemInfo(TSysInfoTest& form)
{
    const std::optional<String> computerName = QueryComputerName();
    if (!computerName)
        ShowMessage("GetComputerName");
    form.ComNameEdit->SetText(computerName.value_or(""));

    const std::optional<String> userName = QueryUserName();
    if (!userName)
        ShowMessage("GetUserName");
    form.UserNameEdit->SetText(userName.value_or(""));

    std::wstring expansion(kWorkSize + 1, L'\0');
    for (const char* templateText : kEnvironmentTemplates)
        if (const auto failure = ExpansionFailureText(templateText, ExpandTemplate(templateText, expansion), kWorkSize))
            ShowMessage(*failure);

    for (const String& line : HardwareLines(QueryHardware()))
        ShowMessage(line);

    ShowMessage(ClockText(MeasureCpuClock(1000)));
}
