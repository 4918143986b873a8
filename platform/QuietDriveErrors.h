#pragma once
// While it lives, a query of a drive without a medium fails quietly on this
// thread instead of raising the platform's "insert a disk" box.
#include <windows.h>

namespace platform {

class QuietDriveErrors {
public:
    QuietDriveErrors() noexcept : changed_(::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_)) {}
    ~QuietDriveErrors()
    {
        if (changed_)
            ::SetThreadErrorMode(previous_, nullptr);
    }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

private:
    DWORD previous_ = 0;
    bool changed_;
};

} // namespace platform
