#pragma once
// The titles of the visible top-level windows and the running processes.
#include "base/Text.h"

#include <vector>

// The titles of the top-level windows the window list takes, in the
// platform's enumeration order, each cut as the list keeps it.
std::vector<String> ListedWindowTitles();

// The executable name of every running process, in snapshot order; empty
// when no snapshot can be taken.
std::vector<String> RunningProcessNames();
