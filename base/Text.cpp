#include "base/Text.h"

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) noexcept
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t cut = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the lead byte, which
    // then starts the first character that does not fit.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

std::size_t Utf8CompleteLength(std::string_view text) noexcept
{
    // Find the lead byte of the last sequence, at most three bytes back.
    std::size_t lead = text.size();
    for (std::size_t back = 1; back <= 4 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            lead = text.size() - back;
            break;
        }
    }
    if (lead == text.size())
        return text.size();
    const auto byte = static_cast<unsigned char>(text[lead]);
    const std::size_t expected = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return lead + expected <= text.size() ? text.size() : lead;
}
