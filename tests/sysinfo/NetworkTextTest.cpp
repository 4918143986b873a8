#include "sysinfo/NetworkText.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<String>;

TEST(SysInfoNetworkText, AddressIsDottedDecimalFirstByteFirst)
{
    EXPECT_EQ(HostAddressText(HostAddress{10, 0, 0, 1}), "10.0.0.1");
    EXPECT_EQ(HostAddressText(HostAddress{192, 168, 0, 10}), "192.168.0.10");
    EXPECT_EQ(HostAddressText(HostAddress{0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(HostAddressText(HostAddress{255, 255, 255, 255}), "255.255.255.255");
    EXPECT_EQ(HostAddressText(std::nullopt), "0");
}

TEST(SysInfoNetworkText, OneBoxPerSetFlagInTableOrder)
{
    EXPECT_EQ(InternetStateTexts(true, 0x12), (Texts{"LAN으로 인터넷 사용중...", "RAS가 설치되어 있음"}));
    EXPECT_EQ(InternetStateTexts(true, 0x7F),
              (Texts{"Modem으로 인터넷 사용중...", "LAN으로 인터넷 사용중...", "Proxy로 인터넷 사용중...",
                     "Modem을 다른 용도로 사용중", "RAS가 설치되어 있음", "오프라인", "인터넷 연결이 설정되었음"}));
    EXPECT_EQ(InternetStateTexts(true, 0x40), (Texts{"인터넷 연결이 설정되었음"}));
    EXPECT_EQ(InternetStateTexts(true, 0x21), (Texts{"Modem으로 인터넷 사용중...", "오프라인"}));
}

TEST(SysInfoNetworkText, NoFlagsOrOnlyHigherBitsGiveNoBox)
{
    EXPECT_TRUE(InternetStateTexts(true, 0).empty());
    EXPECT_TRUE(InternetStateTexts(true, 0xFFFFFF80u).empty());
    EXPECT_EQ(InternetStateTexts(true, 0xFFFFFF82u), (Texts{"LAN으로 인터넷 사용중..."}));
}

TEST(SysInfoNetworkText, AFailedQueryGivesExactlyOneBoxWhateverTheFlags)
{
    for (std::uint32_t flags : {0u, 0x12u, 0x7Fu, 0xFFFFFFFFu})
        EXPECT_EQ(InternetStateTexts(false, flags), (Texts{"검사할 수 없습니다"})) << flags;
}

} // namespace
