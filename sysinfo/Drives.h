#pragma once
// The logical drives and what the platform says about one of them.
#include "sysinfo/DriveText.h"

#include <vector>

// One letter per logical drive, A first.
std::vector<String> LogicalDriveLetters();

// What the platform says about one drive, 0 being A. Slow drives hold the
// caller until they answer; a drive that does not answer keeps the
// defaults of DriveDetails.
DriveDetails QueryDrive(int index);
