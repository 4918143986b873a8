#include "platform/Density.h"

#include "platform/SystemLibrary.h"
#include "platform/UniqueHandle.h"

namespace platform {

namespace {

// From shellscalingapi.h, which not every toolchain ships.
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// Densities a monitor can report; anything else is a faulty answer.
bool Plausible(UINT pixelsPerInch)
{
    return pixelsPerInch >= 48 && pixelsPerInch <= 960;
}

} // namespace

int SystemPixelsPerInch()
{
    const ScreenDc screen(::GetDC(nullptr));
    const int pixelsPerInch = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return Plausible(static_cast<UINT>(pixelsPerInch)) ? pixelsPerInch : 96;
}

int MonitorPixelsPerInch(HMONITOR monitor)
{
    const Module shcore = LoadSystemLibrary(L"shcore.dll");
    const auto getDpi = EntryPoint<GetDpiForMonitorFunction>(shcore.Get(), "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (monitor && getDpi && SUCCEEDED(getDpi(monitor, kEffectiveDpi, &x, &y)) && Plausible(y))
        return static_cast<int>(y);
    return SystemPixelsPerInch();
}

RECT OuterRect(const RECT& client, DWORD style, DWORD exStyle, int pixelsPerInch)
{
    RECT rect = client;
    // Already loaded in every GUI process: no reference of our own is taken.
    const auto adjust = EntryPoint<AdjustForDpiFunction>(::GetModuleHandleW(L"USER32"), "AdjustWindowRectExForDpi");
    if (adjust && Plausible(static_cast<UINT>(pixelsPerInch)) &&
        adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(pixelsPerInch)))
        return rect;
    rect = client;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

} // namespace platform
