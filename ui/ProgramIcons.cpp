#include "ui/ProgramIcons.h"

#include "platform/PlatformError.h"

#include <string>

namespace {

using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// From Windows 10 1607 on; user32 is loaded in every process with windows.
GetSystemMetricsForDpiFunction MetricsForDpi()
{
    static const auto function = [] {
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetSystemMetricsForDpiFunction>(
                            reinterpret_cast<void*>(::GetProcAddress(user32, "GetSystemMetricsForDpi")))
                      : nullptr;
    }();
    return function;
}

// The density that GetSystemMetrics answers for: the system's, which a
// process aware of densities sees as it is.
int SystemPixelsPerInch()
{
    const platform::ScreenDc screen(::GetDC(nullptr));
    const int pixelsPerInch = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return pixelsPerInch > 0 ? pixelsPerInch : 96;
}

platform::Icon LoadProgramIcon(int size)
{
    platform::Icon icon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon)
        throw LastPlatformError("the program's icon cannot be loaded at " + std::to_string(size) + " pixels");
    return icon;
}

} // namespace

int SystemIconSize(int metric, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        pixelsPerInch = 96;
    if (const auto forDpi = MetricsForDpi()) {
        const int size = forDpi(metric, static_cast<UINT>(pixelsPerInch));
        if (size > 0)
            return size;
    }
    // Older systems have one density for all monitors, and their metrics are
    // already at it.
    const int size = ::MulDiv(::GetSystemMetrics(metric), pixelsPerInch, SystemPixelsPerInch());
    return size > 0 ? size : ::MulDiv(metric == SM_CXSMICON ? 16 : 32, pixelsPerInch, 96);
}

TProgramIcons::TProgramIcons(int pixelsPerInch)
    : big_(LoadProgramIcon(SystemIconSize(SM_CXICON, pixelsPerInch))),
      small_(LoadProgramIcon(SystemIconSize(SM_CXSMICON, pixelsPerInch)))
{
}

void TProgramIcons::ApplyTo(HWND window) const
{
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.Get()));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.Get()));
}
