#include "tests/support/DebugOutputCapture.h"

std::vector<String> DebugOutputCapture::Lines()
{
    return DebugMonitor::Lines(::GetCurrentProcessId());
}
