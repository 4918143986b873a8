#pragma once
// How many GDI objects (fonts, bitmaps, device contexts, ...) this process
// holds, for tests that must leave as many as they found.
#include <optional>

// Null where the platform cannot tell.
std::optional<long> GdiObjectCount();
