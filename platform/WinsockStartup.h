#pragma once
// One start-up of Windows Sockets, cleaned up when it goes. Only a start-up
// that succeeded is cleaned up: an extra clean-up would end the sockets of
// whatever else in the process had started them.
#include <winsock2.h>

namespace platform {

class WinsockStartup {
public:
    explicit WinsockStartup(WORD version) noexcept : started_(::WSAStartup(version, &data_) == 0) {}
    ~WinsockStartup()
    {
        if (started_)
            ::WSACleanup();
    }
    WinsockStartup(const WinsockStartup&) = delete;
    WinsockStartup& operator=(const WinsockStartup&) = delete;

    bool Started() const noexcept { return started_; }

private:
    WSADATA data_{};
    bool started_;
};

} // namespace platform
