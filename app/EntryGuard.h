#pragma once
#include <functional>

// Runs the program's start-up and message loop; whatever escapes is shown in
// the framework's error box (a foreign exception with an empty message).
// Always answers 0, the program's exit code.
int RunGuarded(const std::function<void()>& body);
