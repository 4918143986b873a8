#include "platform/PlatformError.h"

#include "base/WideText.h"

#include <windows.h>

#include <string>

namespace {

// The system's own words for a code, without the line break it ends with;
// empty where it has none.
String SystemMessage(std::uint32_t code)
{
    wchar_t buffer[512];
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                    buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' || buffer[length - 1] == L' '))
        --length;
    return Narrow(std::wstring_view(buffer, length));
}

} // namespace

Exception PlatformError(const String& what, std::uint32_t code)
{
    if (code == 0)
        return Exception(what + " (the platform gave no reason)");
    const String words = SystemMessage(code);
    return Exception(what + " (error " + std::to_string(code) + (words.empty() ? "" : ": " + words) + ")");
}

Exception LastPlatformError(const String& what)
{
    return PlatformError(what, ::GetLastError());
}
