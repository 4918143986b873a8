#pragma once
// Listens on the debugger output as a debug monitor does and keeps every
// string with the process that sent it. It answers until destroyed: an
// unanswered buffer would hold each sender up for seconds. Header only, for
// the in-process tests and the end-to-end driver alike.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class DebugMonitor {
public:
    DebugMonitor()
    {
        bufferReady_ = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
        dataReady_ = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
        mapping_ = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, L"DBWIN_BUFFER");
        if (bufferReady_ && dataReady_ && mapping_)
            view_ = static_cast<const char*>(::MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kSize));
        if (view_)
            thread_ = std::thread([this] { Listen(); });
    }

    ~DebugMonitor()
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

    DebugMonitor(const DebugMonitor&) = delete;
    DebugMonitor& operator=(const DebugMonitor&) = delete;

    bool Listening() const { return view_ != nullptr; }

    // The strings one process has sent so far, in UTF-8, once the monitor
    // has waited in vain twice: nothing sent before the call is in flight.
    std::vector<std::string> Lines(DWORD processId)
    {
        const long start = idleRounds_;
        while (view_ && idleRounds_ < start + 2)
            ::Sleep(5);
        std::vector<std::string> lines;
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [pid, text] : lines_)
            if (pid == processId)
                lines.push_back(text);
        return lines;
    }

private:
    static constexpr DWORD kSize = 4096;

    void Listen()
    {
        // The buffer is offered again only once a string was taken out of
        // it: offered after a wait that timed out as well, it could take a
        // second string before the first was read, losing the first.
        ::SetEvent(bufferReady_);
        while (!stop_) {
            if (::WaitForSingleObject(dataReady_, 20) != WAIT_OBJECT_0) {
                ++idleRounds_;
                continue;
            }
            DWORD pid = 0;
            std::memcpy(&pid, view_, sizeof pid);
            const char* text = view_ + sizeof pid;
            const int length = static_cast<int>(::strnlen(text, kSize - sizeof pid));
            // The platform sends the text in the ANSI code page.
            const int units = ::MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), units);
            const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
            ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.emplace_back(pid, std::move(utf8));
            }
            ::SetEvent(bufferReady_);
        }
    }

    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE mapping_ = nullptr;
    const char* view_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<long> idleRounds_{0};
    std::mutex mutex_;
    std::vector<std::pair<DWORD, std::string>> lines_;
    std::thread thread_;
};
