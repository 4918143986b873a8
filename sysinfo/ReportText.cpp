#include "sysinfo/ReportText.h"

#include <charconv>

namespace {

String Hexadecimal(std::uint64_t value)
{
    char digits[16];
    return String(digits, std::to_chars(digits, digits + sizeof digits, value, 16).ptr);
}

String Piece(std::string_view identifier, std::size_t firstCharacter)
{
    const std::size_t start = firstCharacter - 1;
    return start < identifier.size() ? String(identifier.substr(start, 4)) : String();
}

} // namespace

std::uint64_t WholeMebibytes(std::uint64_t bytes)
{
    return bytes >> 20;
}

IdentifierPieces SplitDisplayIdentifier(std::string_view identifier)
{
    return {Piece(identifier, 8), Piece(identifier, 17)};
}

std::optional<String> ExpansionFailureText(std::string_view templateText, std::uint32_t count, std::uint32_t capacity)
{
    if (count == 0)
        return String("ExpandEnvironmentStrings");
    if (count > capacity)
        return String(templateText);
    return std::nullopt;
}

std::array<String, 7> HardwareLines(const HardwareFacts& facts)
{
    return {
        "Hardware information: OEM ID: " + std::to_string(facts.oemId) + "\n",
        "Number of processors: " + std::to_string(facts.processors) + "\n",
        "Page size: " + std::to_string(facts.pageSize) + "\n",
        "Processor type: " + std::to_string(facts.processorType) + "\n",
        "Minimum application address: " + Hexadecimal(facts.minimumAddress) + "\n",
        "Maximum application address: " + Hexadecimal(facts.maximumAddress) + "\n",
        "Active processor mask: " + std::to_string(facts.activeProcessorMask) + "\n",
    };
}

std::int64_t TicksPerSecond(std::uint64_t ticksBefore, std::uint64_t ticksAfter, std::uint64_t countBefore,
                            std::uint64_t countAfter, std::uint64_t countsPerSecond)
{
    const std::uint64_t counts = countAfter - countBefore;
    if (counts == 0)
        return 0;
    return static_cast<std::int64_t>((ticksAfter - ticksBefore) * countsPerSecond / counts);
}

String ClockText(std::int64_t ticksPerSecond)
{
    return "Clock = " + std::to_string(ticksPerSecond);
}
