#include "tests/e2e/Launched.h"

#include "tests/e2e/Remote.h"

Launched::Launched(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        throw Failure("cannot start " + Utf8(exe) + " (error " + std::to_string(::GetLastError()) + ")");
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    id_ = info.dwProcessId;
}

Launched::~Launched()
{
    if (Running()) {
        ::TerminateProcess(process_.Get(), 1);
        ::WaitForSingleObject(process_.Get(), 10000);
    }
}

DWORD Launched::WaitForExit(DWORD timeoutMs) const
{
    DWORD code = 0;
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process_.Get(), &code))
        throw Failure("the program did not end within " + std::to_string(timeoutMs) + " ms");
    return code;
}
