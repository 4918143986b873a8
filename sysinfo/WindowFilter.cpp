#include "sysinfo/WindowFilter.h"

namespace {

constexpr std::uint32_t kVisible = 0x10000000;         // WS_VISIBLE
constexpr std::uint32_t kOverlappedFrame = 0x00CF0000; // WS_OVERLAPPEDWINDOW
constexpr std::uint32_t kControlParent = 0x00010000;   // WS_EX_CONTROLPARENT

} // namespace

String ListedWindowTitle(std::string_view title)
{
    return String(title.substr(0, Utf8PrefixLength(title, kWindowTitleLimit)));
}

bool QualifiesForWindowList(std::uint32_t style, std::uint32_t exStyle)
{
    return (style & kVisible) && (style & kOverlappedFrame) && !(exStyle & kControlParent);
}
