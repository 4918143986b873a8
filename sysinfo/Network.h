#pragma once
// The host's address and the Internet connection state.
class TSysInfoTest;

// Puts the host's first IPv4 address, or "0", into IPAddr. Shows no box.
void ShowIPAddress(TSysInfoTest& form);
// One box per connection-state flag, or one saying the state is unknown.
void ShowInternetState(TSysInfoTest& form);
