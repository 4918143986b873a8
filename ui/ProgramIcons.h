#pragma once
// The program's icon (MAINICON) at the two sizes a window shows it at one
// density: the big one (Alt+Tab, the taskbar) and the small one (the
// caption). A window keeps using the icons it was given: this object must
// live as long as the window shows them. At a new density, apply the new
// object's icons before the old object goes.
#include "platform/UniqueHandle.h"

#include <windows.h>

class TProgramIcons {
public:
    // Throws Exception when the icon cannot be loaded.
    explicit TProgramIcons(int pixelsPerInch);

    // WM_SETICON, ICON_BIG and ICON_SMALL.
    void ApplyTo(HWND window) const;

    HICON Big() const { return big_.Get(); }
    HICON Small() const { return small_.Get(); }

private:
    platform::Icon big_;
    platform::Icon small_;
};

// The system's size for SM_CXICON or SM_CXSMICON at `pixelsPerInch`.
int SystemIconSize(int metric, int pixelsPerInch);
