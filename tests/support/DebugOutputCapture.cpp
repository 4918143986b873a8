#include "tests/support/DebugOutputCapture.h"

#include "ui/WideText.h"

#include <cstring>

namespace {

constexpr DWORD kBufferSize = 4096;

String FromAnsi(const char* text)
{
    // The platform sends the text in the ANSI code page.
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), needed);
    wide.resize(std::wcslen(wide.c_str()));
    return Narrow(wide);
}

} // namespace

DebugOutputCapture::DebugOutputCapture()
{
    bufferReady_ = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    dataReady_ = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    mapping_ = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize, L"DBWIN_BUFFER");
    if (bufferReady_ && dataReady_ && mapping_)
        view_ = static_cast<const char*>(::MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kBufferSize));
    if (view_)
        thread_ = std::thread([this] { Listen(); });
}

DebugOutputCapture::~DebugOutputCapture()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (view_)
        ::UnmapViewOfFile(view_);
    for (HANDLE handle : {mapping_, dataReady_, bufferReady_})
        if (handle)
            ::CloseHandle(handle);
}

void DebugOutputCapture::Listen()
{
    const DWORD self = ::GetCurrentProcessId();
    while (!stop_) {
        ::SetEvent(bufferReady_);
        if (::WaitForSingleObject(dataReady_, 20) != WAIT_OBJECT_0) {
            ++idleRounds_;
            continue;
        }
        DWORD pid = 0;
        std::memcpy(&pid, view_, sizeof pid);
        char text[kBufferSize - sizeof(DWORD) + 1] = {};
        std::memcpy(text, view_ + sizeof pid, kBufferSize - sizeof pid);
        if (pid == self) {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(FromAnsi(text));
        }
    }
}

std::vector<String> DebugOutputCapture::Lines()
{
    // Every string sent before this call has been copied once the listener
    // has waited in vain twice.
    const long start = idleRounds_;
    while (view_ && idleRounds_ < start + 2)
        ::Sleep(5);
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}
