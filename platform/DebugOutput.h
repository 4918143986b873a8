#pragma once
namespace platform {

// One string to the platform's debugger output, as it stands.
void SendDebugText(const char* utf8);

// Whether a debugger or a debug-output monitor is there to receive it.
// Sending costs an exception and several kernel objects per string even
// when nobody listens, which a long listing cannot afford.
bool DebugOutputListened();

} // namespace platform
