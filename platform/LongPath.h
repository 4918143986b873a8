#pragma once
// Paths of any length for the wide-character file calls.
#include <string>

namespace platform {

// Paths that would not fit the classic 260-character limit get the
// extended-length prefix (\\?\C:\... or \\?\UNC\server\...), with forward
// slashes turned into backslashes since the prefix stops the platform from
// doing so. Relative and already-prefixed paths are returned unchanged.
std::wstring ExtendedLengthPath(std::wstring path);

} // namespace platform
