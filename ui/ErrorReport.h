#pragma once
// The one way an exception that reaches the user is reported: every place
// that must not let one through (a window procedure, a timer, the entry
// guard, a step of a start-up sequence) catches everything and calls this.

// Call only inside a catch block. A framework Exception shows its message in
// the error box; any other exception shows an empty message, the same box.
// Never throws: a report that cannot be shown is dropped.
void ReportCurrentException() noexcept;
