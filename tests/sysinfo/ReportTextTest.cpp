#include "sysinfo/ReportText.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(SysInfoReportText, MemoryIsTruncatedToWholeMebibytes)
{
    EXPECT_EQ(WholeMebibytes(536'346'624), 511u) << "truncated, not rounded";
    EXPECT_EQ(WholeMebibytes(1'048'575), 0u);
    EXPECT_EQ(WholeMebibytes(1'048'576), 1u);
    EXPECT_EQ(WholeMebibytes(4'294'967'295), 4095u);
    EXPECT_EQ(WholeMebibytes(4'294'967'296), 4096u) << "4 GiB and more are neither capped nor wrapped";
    EXPECT_EQ(WholeMebibytes(25'000'000'000), 23841u);
    EXPECT_EQ(WholeMebibytes(kMax), 17'592'186'044'415u);
}

TEST(SysInfoReportText, IdentifierPiecesFromTheEighthAndSeventeenthCharacterCutOrEmptyAtTheEnd)
{
    struct Case {
        const char* identifier;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"", "", ""},
        {"PCI\\VE", "", ""},                 // 6: both start beyond the end
        {"PCI\\VEN", "", ""},                // 7
        {"PCI\\VEN_", "_", ""},              // 8
        {"PCI\\VEN_12", "_12", ""},          // 10: cut at the end, second empty
        {"PCI\\VEN_1234&DEV", "_123", ""},   // 16
        {"PCI\\VEN_1234&DEV_", "_123", "_"}, // 17
        {"PCI\\VEN_1234&DEV_56", "_123", "_56"},
        {"PCI\\VEN_1234&DEV_5678&SUBSYS_00000000&REV_00", "_123", "_567"},
        {"PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00", "_000", "_000"},
    };
    for (const Case& c : cases) {
        const IdentifierPieces pieces = SplitDisplayIdentifier(c.identifier);
        EXPECT_EQ(pieces.first, c.first) << c.identifier;
        EXPECT_EQ(pieces.second, c.second) << c.identifier;
    }
}

TEST(SysInfoReportText, ExpansionBoxesOnlyForFailures)
{
    constexpr std::uint32_t capacity = 32767;
    EXPECT_EQ(ExpansionFailureText("OS         = %OS%", 0, capacity), "ExpandEnvironmentStrings");
    EXPECT_EQ(ExpansionFailureText("PATH       = %PATH%", capacity + 1, capacity), "PATH       = %PATH%")
        << "a buffer too small shows the template, unexpanded";
    EXPECT_EQ(ExpansionFailureText("TEMP       = %TEMP%", 0xFFFFFFFFu, capacity), "TEMP       = %TEMP%");
    EXPECT_EQ(ExpansionFailureText("OS         = %OS%", capacity, capacity), std::nullopt);
    EXPECT_EQ(ExpansionFailureText("OS         = %OS%", 18, capacity), std::nullopt);
}

TEST(SysInfoReportText, HardwareLinesInTableOrderEachEndingInALineFeed)
{
    HardwareFacts facts;
    facts.oemId = 9;
    facts.processors = 2;
    facts.pageSize = 4096;
    facts.processorType = 8664;
    facts.minimumAddress = 0x10000;
    facts.maximumAddress = 0x7ffffffeffff;
    facts.activeProcessorMask = 3;
    const std::array<String, 7> expected = {
        "Hardware information: OEM ID: 9\n",
        "Number of processors: 2\n",
        "Page size: 4096\n",
        "Processor type: 8664\n",
        "Minimum application address: 10000\n",
        "Maximum application address: 7ffffffeffff\n",
        "Active processor mask: 3\n",
    };
    EXPECT_EQ(HardwareLines(facts), expected);
}

TEST(SysInfoReportText, HardwareLinesKeepWideValuesWhole)
{
    HardwareFacts facts;
    facts.oemId = 0xFFFFFFFF;
    facts.maximumAddress = 0x7ffeffff;
    facts.activeProcessorMask = kMax;
    const std::array<String, 7> lines = HardwareLines(facts);
    EXPECT_EQ(lines[0], "Hardware information: OEM ID: 4294967295\n") << "unsigned, the whole word";
    EXPECT_EQ(lines[4], "Minimum application address: 0\n");
    EXPECT_EQ(lines[5], "Maximum application address: 7ffeffff\n");
    EXPECT_EQ(lines[6], "Active processor mask: 18446744073709551615\n");
}

TEST(SysInfoReportText, TicksPerSecondScalesTheTimeStampsByTheCounter)
{
    EXPECT_EQ(TicksPerSecond(0, 2'600'000'000, 0, 10'000'000, 10'000'000), 2'600'000'000);
    EXPECT_EQ(TicksPerSecond(1000, 3'000'001'000, 500, 5'000'500, 10'000'000), 6'000'000'000)
        << "half a second of counts";
    EXPECT_EQ(TicksPerSecond(0, 10, 0, 3, 1), 3) << "the division truncates";
    EXPECT_EQ(TicksPerSecond(kMax - 9, 10, kMax, 1, 1), 10) << "differences carry across the wrap";
    EXPECT_EQ(TicksPerSecond(0, std::uint64_t{1} << 40, 0, 1, std::uint64_t{1} << 30), 0)
        << "the product keeps its low 64 bits";
    EXPECT_EQ(TicksPerSecond(0, (std::uint64_t{1} << 40) + 1, 0, 1, (std::uint64_t{1} << 30) + 1),
              static_cast<std::int64_t>((std::uint64_t{1} << 40) + (std::uint64_t{1} << 30) + 1));
}

TEST(SysInfoReportText, ACounterThatDidNotAdvanceGivesZeroInsteadOfDividing)
{
    EXPECT_EQ(TicksPerSecond(100, 2'600'000'100, 42, 42, 10'000'000), 0);
    EXPECT_EQ(TicksPerSecond(100, 2'600'000'100, 0, 0, 0), 0);
    EXPECT_EQ(TicksPerSecond(100, 2'600'000'100, 0, 1000, 0), 0) << "frequency 0";
}

TEST(SysInfoReportText, ClockText)
{
    EXPECT_EQ(ClockText(2'600'000'000), "Clock = 2600000000");
    EXPECT_EQ(ClockText(0), "Clock = 0");
    EXPECT_EQ(ClockText(-5), "Clock = -5");
}

} // namespace
