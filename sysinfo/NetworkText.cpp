#include "sysinfo/NetworkText.h"

String HostAddressText(const std::optional<HostAddress>& address)
{
    if (!address)
        return "0";
    String text;
    for (std::uint8_t byte : *address) {
        if (!text.empty())
            text += '.';
        text += std::to_string(byte);
    }
    return text;
}

std::vector<String> InternetStateTexts(bool queried, std::uint32_t flags)
{
    if (!queried)
        return {"검사할 수 없습니다"};
    // Bit 0x01 upwards to 0x40; higher bits mean nothing here.
    static const char* const kTexts[] = {
        "Modem으로 인터넷 사용중...", "LAN으로 인터넷 사용중...", "Proxy로 인터넷 사용중...",
        "Modem을 다른 용도로 사용중", "RAS가 설치되어 있음",      "오프라인",
        "인터넷 연결이 설정되었음",
    };
    std::vector<String> texts;
    for (std::size_t bit = 0; bit < std::size(kTexts); ++bit)
        if (flags & (1u << bit))
            texts.emplace_back(kTexts[bit]);
    return texts;
}
