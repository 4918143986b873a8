#include "platform/DebugOutput.h"

#include "base/WideText.h"
#include "platform/UniqueHandle.h"

#include <windows.h>

namespace platform {

void SendDebugText(const char* utf8)
{
    ::OutputDebugStringW(Widen(utf8).c_str());
}

bool DebugOutputListened()
{
    if (::IsDebuggerPresent())
        return true;
    // A monitor announces itself with this event while it waits for text.
    Handle monitor(::OpenEventW(SYNCHRONIZE, FALSE, L"DBWIN_BUFFER_READY"));
    return static_cast<bool>(monitor);
}

} // namespace platform
