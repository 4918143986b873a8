#pragma once
// Real mouse input, delivered by the platform as a user's would be.
#include <windows.h>

#include <functional>

// Moves the pointer to a point of `window`'s client area and clicks there,
// twice for a double-click.
void ClickAt(HWND window, POINT client, bool doubleClick = false);
// Dispatches this thread's messages until `done` holds or about two seconds pass.
bool PumpUntil(const std::function<bool()>& done);
