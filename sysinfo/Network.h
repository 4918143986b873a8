#pragma once
// The host's address and the Internet connection state, as the platform
// answers.
#include "sysinfo/NetworkText.h"

#include <cstdint>
#include <optional>

// The first IPv4 address of the local host as Windows Sockets 1.1 finds it;
// null when the start-up, the host name or its look-up fails.
std::optional<HostAddress> QueryHostAddress();

struct InternetState {
    bool queried = false; // false: the state could not be determined
    std::uint32_t flags = 0;
};
InternetState QueryInternetState();
