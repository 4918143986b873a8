#include "sysinfo/Network.h"

#include "platform/SystemLibrary.h"
#include "platform/WinsockStartup.h"

#include <windows.h>

#include <cstring>

std::optional<HostAddress> QueryHostAddress()
{
    const platform::WinsockStartup sockets(MAKEWORD(1, 1));
    if (!sockets.Started())
        return std::nullopt;
    char name[256] = {};
    if (::gethostname(name, sizeof name) == SOCKET_ERROR)
        return std::nullopt;
    const hostent* host = ::gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length < 4 || !host->h_addr_list || !host->h_addr_list[0])
        return std::nullopt;
    HostAddress address;
    std::memcpy(address.data(), host->h_addr_list[0], address.size());
    return address;
}

InternetState QueryInternetState()
{
    // Loaded here, not imported: an imported WinINet would be looked for
    // beside the program first, wherever the user started it from.
    using GetConnectedState = BOOL(WINAPI*)(LPDWORD, DWORD);
    const platform::Module wininet = platform::LoadSystemLibrary(L"wininet.dll");
    const auto getConnectedState = platform::EntryPoint<GetConnectedState>(wininet.Get(), "InternetGetConnectedState");
    // Missing, it reads as a query that failed.
    if (!getConnectedState)
        return {};
    DWORD flags = 0;
    const bool queried = getConnectedState(&flags, 0);
    return {queried, static_cast<std::uint32_t>(flags)};
}
