#pragma once
// What the network routines of the information window show, from the
// answers of the platform.
#include "base/Text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The four bytes of an IPv4 address in network order, first byte first.
using HostAddress = std::array<std::uint8_t, 4>;

// "192.168.0.10"; "0" when the host's address could not be found.
String HostAddressText(const std::optional<HostAddress>& address);

// One text per connection-state flag that is set, lowest bit first; the one
// failure text when the state could not be queried.
std::vector<String> InternetStateTexts(bool queried, std::uint32_t flags);
