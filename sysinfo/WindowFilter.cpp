#include "sysinfo/WindowFilter.h"

namespace {

constexpr std::uint32_t kVisible = 0x10000000;         // WS_VISIBLE
constexpr std::uint32_t kOverlappedFrame = 0x00CF0000; // WS_OVERLAPPEDWINDOW
constexpr std::uint32_t kControlParent = 0x00010000;   // WS_EX_CONTROLPARENT

bool IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Bytes of the character at `at`: a lead byte with all the continuation
// bytes it announces, else that one byte alone.
std::size_t CharacterBytes(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t announced = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    if (announced > text.size() - at)
        return 1;
    for (std::size_t i = 1; i < announced; ++i)
        if (!IsContinuation(text[at + i]))
            return 1;
    return announced;
}

} // namespace

std::size_t Cp949PrefixLength(std::string_view text, std::size_t maxBytes) noexcept
{
    std::size_t at = 0;
    std::size_t counted = 0;
    while (at < text.size()) {
        const std::size_t bytes = CharacterBytes(text, at);
        const std::size_t weight = static_cast<unsigned char>(text[at]) < 0x80 ? 1 : 2;
        if (counted + weight > maxBytes)
            break;
        counted += weight;
        at += bytes;
    }
    return at;
}

String ListedWindowTitle(std::string_view title)
{
    return String(title.substr(0, Cp949PrefixLength(title, kWindowTitleLimit)));
}

bool QualifiesForWindowList(std::uint32_t style, std::uint32_t exStyle)
{
    return (style & kVisible) && (style & kOverlappedFrame) && !(exStyle & kControlParent);
}
