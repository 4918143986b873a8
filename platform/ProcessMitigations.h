#pragma once
// What the program asks of the system before it does anything else.

namespace platform {

// Libraries loaded later come from the system folder only, a corrupted heap
// ends the process, and a 32-bit process keeps DEP on for good. Each part
// is skipped quietly where the system lacks it.
void HardenProcess();

} // namespace platform
