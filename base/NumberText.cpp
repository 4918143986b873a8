#include "base/NumberText.h"

#include <algorithm>
#include <charconv>

String IntToHex(std::uint32_t value, int digits)
{
    char hex[8];
    const auto end = std::to_chars(hex, hex + sizeof hex, value, 16).ptr;
    String text(hex, end);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
    const std::size_t wanted = static_cast<std::size_t>(std::clamp(digits, 0, 32));
    if (text.size() < wanted)
        text.insert(0, wanted - text.size(), '0');
    return text;
}
