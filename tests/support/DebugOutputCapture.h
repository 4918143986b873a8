#pragma once
// Listens on the debugger-output buffer, as a debug monitor does, and keeps
// the strings this process sends while it lives.
#include "ui/Text.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    bool Listening() const { return view_ != nullptr; }
    // Waits until the strings sent so far have been taken, then answers them.
    std::vector<String> Lines();

private:
    void Listen();

    HANDLE bufferReady_ = nullptr;
    HANDLE dataReady_ = nullptr;
    HANDLE mapping_ = nullptr;
    const char* view_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<long> idleRounds_{0};
    std::mutex mutex_;
    std::vector<String> lines_;
    std::thread thread_;
};
