#include "platform/DebugOutput.h"

#include "ui/WideText.h"

#include <windows.h>

namespace platform {

void SendDebugText(const char* utf8)
{
    ::OutputDebugStringW(Widen(utf8).c_str());
}

} // namespace platform
