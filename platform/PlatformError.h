#pragma once
// A failed platform call becomes an Exception that says what failed and
// what the platform answered, so that an error box or a test log is enough
// to tell a missing class from a full desktop heap.
#include "base/Exception.h"

#include <cstdint>

// "the window of Panel1 cannot be created (error 1407: Cannot find window
// class.)"; code 0 says that the platform gave no reason.
Exception PlatformError(const String& what, std::uint32_t code);

// The same with the calling thread's last error, which is read before
// anything else runs: call it right after the failed call.
Exception LastPlatformError(const String& what);
