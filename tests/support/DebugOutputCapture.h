#pragma once
// The debugger output of this process while the capture lives.
#include "base/Text.h"
#include "tests/support/DebugMonitor.h"

class DebugOutputCapture : public DebugMonitor {
public:
    // Waits until the strings sent so far have been taken, then answers them.
    std::vector<String> Lines();
};
