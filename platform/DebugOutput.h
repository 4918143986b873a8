#pragma once
namespace platform {

// One string to the platform's debugger output, as it stands.
void SendDebugText(const char* utf8);

} // namespace platform
