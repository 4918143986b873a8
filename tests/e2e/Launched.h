#pragma once
// A program the end-to-end drivers start as a user would, killed when a run
// fails while it is still open.
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <string>

class Launched {
public:
    // Started from `folder` when one is given, as Explorer starts a program
    // from its own folder.
    Launched(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder = {});
    ~Launched();
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    HANDLE Process() const { return process_.Get(); }
    DWORD Id() const { return id_; }
    bool Running() const { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    // The exit code; throws Failure when the program has not ended within
    // the time given.
    DWORD WaitForExit(DWORD timeoutMs) const;

private:
    platform::Handle process_;
    platform::Handle thread_;
    DWORD id_ = 0;
};
