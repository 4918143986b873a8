// The texts the windows show, from arbitrary values: dates in any format,
// the trace line and its cut, UTF-8 prefixes, sizes, search patterns,
// extended-length paths, and the information window's drive, network,
// report and window-list texts. The first byte picks the formatter.
#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Text.h"
#include "base/TraceText.h"
#include "browser/FileRow.h"
#include "platform/LongPath.h"
#include "sysinfo/DriveText.h"
#include "sysinfo/NetworkText.h"
#include "sysinfo/ReportText.h"
#include "sysinfo/WindowFilter.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

void CheckPartsInRange(const DateTimeParts& p)
{
    FUZZ_CHECK(p.year >= 1 && p.year <= 9999);
    FUZZ_CHECK(p.month >= 1 && p.month <= 12);
    FUZZ_CHECK(p.day >= 1 && p.day <= DaysInMonth(p.year, p.month));
    FUZZ_CHECK(p.hour >= 0 && p.hour <= 23);
    FUZZ_CHECK(p.minute >= 0 && p.minute <= 59);
    FUZZ_CHECK(p.second >= 0 && p.second <= 59);
    FUZZ_CHECK(p.millisecond >= 0 && p.millisecond <= 999);
}

bool SameParts(const DateTimeParts& a, const DateTimeParts& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.millisecond == b.millisecond;
}

void FuzzDateTime(FuzzedDataProvider& input)
{
    // Any bit pattern: NaN, infinities, denormals and huge values included.
    const std::uint64_t bits = input.ConsumeIntegral<std::uint64_t>();
    double value;
    static_assert(sizeof value == sizeof bits);
    std::memcpy(&value, &bits, sizeof value);
    if (input.ConsumeBool())
        value = input.ConsumeFloatingPointInRange<double>(-700'000.0, 3'000'000.0);
    const String format = input.ConsumeRemainingBytesAsString();

    CheckPartsInRange(DecodeDateTime(value));

    // Every character of a format gives at most three bytes (a lone z is up
    // to three digits of milliseconds).
    const String text = FormatDateTime(format, value);
    FUZZ_CHECK(text.size() <= 3 * format.size());

    // The list's own format always gives 19 characters in its fixed shape.
    const String listed = FormatDateTime(kListDateFormat, value);
    FUZZ_CHECK(listed.size() == 19);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const char expected = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        FUZZ_CHECK(expected == '0' ? IsDigit(listed[i]) : listed[i] == expected);
    }
}

void FuzzDateRoundTrip(FuzzedDataProvider& input)
{
    DateTimeParts parts;
    parts.year = input.ConsumeIntegralInRange<int>(-2, 10001);
    parts.month = input.ConsumeIntegralInRange<int>(-1, 13);
    parts.day = input.ConsumeIntegralInRange<int>(-1, 32);
    parts.hour = input.ConsumeIntegralInRange<int>(-1, 24);
    parts.minute = input.ConsumeIntegralInRange<int>(-1, 60);
    parts.second = input.ConsumeIntegralInRange<int>(-1, 60);
    parts.millisecond = input.ConsumeIntegralInRange<int>(-1, 1000);
    const TDateTime value = EncodeDateTime(parts);
    FUZZ_CHECK(std::isfinite(value));
    const DateTimeParts back = DecodeDateTime(value);
    CheckPartsInRange(back);
    const bool valid = parts.year >= 1 && parts.year <= 9999 && parts.month >= 1 && parts.month <= 12 &&
                       parts.day >= 1 && parts.day <= DaysInMonth(parts.year, parts.month) && parts.hour >= 0 &&
                       parts.hour <= 23 && parts.minute >= 0 && parts.minute <= 59 && parts.second >= 0 &&
                       parts.second <= 59 && parts.millisecond >= 0 && parts.millisecond <= 999;
    if (valid)
        FUZZ_CHECK(SameParts(back, parts));
    else
        FUZZ_CHECK(value == 0.0);
}

std::size_t Trace(char (&buffer)[kTraceBufferSize], const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    const std::size_t length = FormatTraceText(buffer, format, arguments);
    va_end(arguments);
    return length;
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Valid UTF-8 from code points the input picks: names as a folder search
// gives them, Hangul and characters outside the BMP included.
String Utf8Name(FuzzedDataProvider& input, std::size_t characters)
{
    String name;
    for (std::size_t i = 0; i < characters && input.remaining_bytes() > 0; ++i) {
        std::uint32_t cp;
        switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            cp = input.ConsumeIntegralInRange<std::uint32_t>(0x20, 0x7E);
            break;
        case 1:
            cp = input.ConsumeIntegralInRange<std::uint32_t>(0xAC00, 0xD7A3);
            break;
        case 2:
            cp = input.ConsumeIntegralInRange<std::uint32_t>(0x80, 0x7FF);
            break;
        default:
            cp = input.ConsumeIntegralInRange<std::uint32_t>(0x10000, 0x10FFFF);
            break;
        }
        if (cp < 0x80) {
            name += static_cast<char>(cp);
        } else if (cp < 0x800) {
            name += static_cast<char>(0xC0 | (cp >> 6));
            name += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            name += static_cast<char>(0xE0 | (cp >> 12));
            name += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            name += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            name += static_cast<char>(0xF0 | (cp >> 18));
            name += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            name += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            name += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return name;
}

void CheckTraceCut(const String& full, const char (&buffer)[kTraceBufferSize], std::size_t length)
{
    FUZZ_CHECK(length < kTraceBufferSize);
    FUZZ_CHECK(std::strlen(buffer) == length);
    FUZZ_CHECK(full.compare(0, length, buffer, length) == 0);
    if (full.size() < kTraceBufferSize)
        FUZZ_CHECK(length == full.size());
    else
        FUZZ_CHECK(length + 3 >= kTraceBufferSize - 1); // at most one character of up to four bytes dropped
}

void FuzzTraceText(FuzzedDataProvider& input)
{
    char buffer[kTraceBufferSize];
    const bool valid = input.ConsumeBool();
    const std::uint64_t size = input.ConsumeIntegral<std::uint64_t>();
    String name = valid ? Utf8Name(input, input.ConsumeIntegralInRange<std::size_t>(0, 600))
                        : input.ConsumeRemainingBytesAsString();
    name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());

    std::size_t length = Trace(buffer, "%s", name.c_str());
    CheckTraceCut(name, buffer, length);
    if (valid)
        FUZZ_CHECK(IsValidUtf8({buffer, length}));

    // The file list's line: the name is an argument, never a format.
    length = Trace(buffer, "file name : [%s], file_size[%" PRIu64 "]", name.c_str(), size);
    const String full = "file name : [" + name + "], file_size[" + std::to_string(size) + "]";
    CheckTraceCut(full, buffer, length);
    if (valid)
        FUZZ_CHECK(IsValidUtf8({buffer, length}));
}

void FuzzUtf8Lengths(FuzzedDataProvider& input)
{
    const std::size_t maxBytes = input.ConsumeIntegralInRange<std::size_t>(0, 300);
    const String text = input.ConsumeRemainingBytesAsString();

    const std::size_t prefix = Utf8PrefixLength(text, maxBytes);
    FUZZ_CHECK(prefix <= maxBytes || prefix == text.size());
    FUZZ_CHECK(prefix <= text.size());
    if (text.size() <= maxBytes)
        FUZZ_CHECK(prefix == text.size());
    else
        FUZZ_CHECK(prefix == 0 || (static_cast<unsigned char>(text[prefix]) & 0xC0) != 0x80);
    if (IsValidUtf8(text)) {
        FUZZ_CHECK(IsValidUtf8(std::string_view(text).substr(0, prefix)));
        FUZZ_CHECK(text.size() <= maxBytes || prefix + 3 >= maxBytes);
    }

    const std::size_t complete = Utf8CompleteLength(text);
    FUZZ_CHECK(complete <= text.size() && complete + 3 >= text.size());
    if (IsValidUtf8(text))
        FUZZ_CHECK(complete == text.size());
    // Any cut of valid text loses only its last, incomplete character.
    if (IsValidUtf8(text) && !text.empty()) {
        const std::size_t cut = maxBytes % text.size();
        const std::string_view head = std::string_view(text).substr(0, cut);
        const std::size_t kept = Utf8CompleteLength(head);
        FUZZ_CHECK(IsValidUtf8(head.substr(0, kept)));
        FUZZ_CHECK(kept == Utf8PrefixLength(text, cut));
    }
}

void FuzzFileRow(FuzzedDataProvider& input)
{
    const std::uint64_t size = input.ConsumeIntegral<std::uint64_t>();
    const String path = input.ConsumeRemainingBytesAsString();

    FUZZ_CHECK(SizeText(true, size) == " ");
    const String sizeText = SizeText(false, size);
    FUZZ_CHECK(!sizeText.empty() && sizeText.size() <= 20);
    FUZZ_CHECK(std::all_of(sizeText.begin(), sizeText.end(), IsDigit));
    FUZZ_CHECK(std::strtoull(sizeText.c_str(), nullptr, 10) == size);

    const String pattern = SearchPattern(path);
    const bool hasBackslash = !path.empty() && path.back() == '\\';
    FUZZ_CHECK(pattern == path + (hasBackslash ? "*.*" : "\\*.*"));
    FUZZ_CHECK(IsListedName(path) == (!path.empty() && path[0] != '.'));
}

void FuzzLongPath(FuzzedDataProvider& input)
{
    std::wstring path;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 600);
    // Mostly separators, drive letters and ordinary characters, so that the
    // interesting shapes come up.
    static constexpr wchar_t kPieces[] = {L'\\', L'/', L'C', L'c', L':', L'?', L'.', L'a', L'한', L'\u00e9'};
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i)
        path += kPieces[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];

    const std::wstring result = platform::ExtendedLengthPath(path);
    if (path.size() < 260) {
        FUZZ_CHECK(result == path);
        return;
    }
    if (result == path)
        return;
    // Only the prefix is added and only slashes become backslashes.
    const std::size_t added = result.size() - path.size();
    FUZZ_CHECK(result.rfind(L"\\\\?\\", 0) == 0);
    FUZZ_CHECK(added == 4 || (added == 6 && result.rfind(L"\\\\?\\UNC\\", 0) == 0));
    FUZZ_CHECK(result.find(L'/') == std::wstring::npos);
    const std::wstring tail = result.substr(added == 4 ? 4 : 8);
    const std::wstring original = added == 4 ? path : path.substr(2);
    FUZZ_CHECK(tail.size() == original.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        FUZZ_CHECK(tail[i] == original[i] || (original[i] == L'/' && tail[i] == L'\\'));
}

bool StartsWith(const String& text, std::string_view head)
{
    return text.compare(0, head.size(), head) == 0;
}

void FuzzInformationTexts(FuzzedDataProvider& input)
{
    const std::uint32_t word = input.ConsumeIntegral<std::uint32_t>();
    const int digits = input.ConsumeIntegral<int>();
    const std::int64_t bytes = input.ConsumeIntegral<std::int64_t>();
    const std::uint64_t wide[5] = {input.ConsumeIntegral<std::uint64_t>(), input.ConsumeIntegral<std::uint64_t>(),
                                   input.ConsumeIntegral<std::uint64_t>(), input.ConsumeIntegral<std::uint64_t>(),
                                   input.ConsumeIntegral<std::uint64_t>()};
    const String text = input.ConsumeRemainingBytesAsString();

    // Upper-case hexadecimal, padded to the digits asked for (at most 32).
    const String hex = IntToHex(word, digits);
    const std::size_t natural = word == 0 ? 1 : (32 - std::countl_zero(word) + 3) / 4;
    FUZZ_CHECK(hex.size() == std::max<std::size_t>(natural, static_cast<std::size_t>(std::clamp(digits, 0, 32))));
    FUZZ_CHECK(std::all_of(hex.begin(), hex.end(), [](char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }));
    FUZZ_CHECK(std::strtoull(hex.c_str(), nullptr, 16) == word);

    const std::vector<String> letters = DriveLetters(word);
    FUZZ_CHECK(letters.size() == static_cast<std::size_t>(std::popcount(word & 0x03FF'FFFFu)));
    for (std::size_t i = 0; i < letters.size(); ++i) {
        FUZZ_CHECK(letters[i].size() == 1 && letters[i][0] >= 'A' && letters[i][0] <= 'Z');
        FUZZ_CHECK(word & (1u << (letters[i][0] - 'A')));
        FUZZ_CHECK(i == 0 || letters[i - 1][0] < letters[i][0]);
    }
    FUZZ_CHECK(DriveTypeText(word).empty() == (word > 6));

    // Whole kilobytes toward minus infinity, for every 64-bit count.
    const std::int64_t kb = BytesToKB(bytes);
    FUZZ_CHECK(static_cast<__int128>(kb) * 1024 <= bytes && bytes < (static_cast<__int128>(kb) + 1) * 1024);
    DriveDetails drive;
    drive.volumeName = text;
    drive.serial = word;
    drive.driveType = word;
    drive.freeBytes = bytes;
    drive.totalBytes = static_cast<std::int64_t>(wide[0]);
    const std::vector<String> lines = DriveDetailLines(drive);
    FUZZ_CHECK(lines.size() == 6);
    FUZZ_CHECK(lines[0] == "Volum Name : " + text);
    FUZZ_CHECK(lines[1] == "Volum Serial : " + IntToHex(word, 8));
    FUZZ_CHECK(StartsWith(lines[2], "File System : ") && StartsWith(lines[3], "Drive Type : "));
    FUZZ_CHECK(lines[4] == "Free Space : " + std::to_string(kb) + " KB");
    FUZZ_CHECK(StartsWith(lines[5], "Total Space : ") && lines[5].size() >= 17);

    const HostAddress address{static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                              static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
    FUZZ_CHECK(HostAddressText(address) == std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
                                               std::to_string(address[2]) + "." + std::to_string(address[3]));
    FUZZ_CHECK(HostAddressText(std::nullopt) == "0");
    FUZZ_CHECK(InternetStateTexts(true, word).size() == static_cast<std::size_t>(std::popcount(word & 0x7Fu)));
    FUZZ_CHECK(InternetStateTexts(false, word).size() == 1);

    const IdentifierPieces pieces = SplitDisplayIdentifier(text);
    FUZZ_CHECK(pieces.first == (text.size() > 7 ? text.substr(7, 4) : String()));
    FUZZ_CHECK(pieces.second == (text.size() > 16 ? text.substr(16, 4) : String()));
    const std::uint32_t capacity = static_cast<std::uint32_t>(wide[1]);
    const std::optional<String> failure = ExpansionFailureText(text, word, capacity);
    FUZZ_CHECK(failure.has_value() == (word == 0 || word > capacity));

    HardwareFacts facts;
    facts.oemId = word;
    facts.minimumAddress = wide[2];
    facts.maximumAddress = wide[3];
    facts.activeProcessorMask = wide[4];
    for (const String& line : HardwareLines(facts))
        FUZZ_CHECK(!line.empty() && line.back() == '\n' && line.find('\n') == line.size() - 1);
    // Any two samples of the counters: wrapping arithmetic, never undefined;
    // a counter that did not move gives 0.
    const std::int64_t ticks = TicksPerSecond(wide[0], wide[1], wide[2], wide[3], wide[4]);
    if (wide[2] == wide[3])
        FUZZ_CHECK(ticks == 0);
    FUZZ_CHECK(ClockText(ticks) == "Clock = " + std::to_string(ticks));
    // Samples one second of the counter apart give the ticks of that second;
    // over any other span, the ticks per second rounded down.
    const std::uint64_t frequency = 1 + wide[4] % (1u << 24);
    const std::uint64_t second = wide[0] % (std::uint64_t{1} << 39);
    FUZZ_CHECK(TicksPerSecond(wide[1], wide[1] + second, wide[2], wide[2] + frequency, frequency) ==
               static_cast<std::int64_t>(second));
    const std::uint64_t span = 1 + wide[3] % (std::uint64_t{1} << 40);
    const unsigned __int128 scaled = static_cast<unsigned __int128>(second) * frequency;
    const auto perSecond =
        static_cast<unsigned __int128>(TicksPerSecond(wide[1], wide[1] + second, wide[2], wide[2] + span, frequency));
    FUZZ_CHECK(perSecond * span <= scaled && scaled < (perSecond + 1) * span);
    FUZZ_CHECK(WholeMebibytes(wide[0]) == wide[0] / (1024 * 1024));

    const String title = ListedWindowTitle(text);
    FUZZ_CHECK(title.size() <= 2 * kWindowTitleLimit && text.compare(0, title.size(), title) == 0);
    if (text.size() <= kWindowTitleLimit / 2)
        FUZZ_CHECK(title == text);
    if (IsValidUtf8(text)) {
        // In code page 949 every lead byte of UTF-8 counts one byte for
        // ASCII and two for anything else; continuation bytes count nothing.
        auto codePageBytes = [](std::string_view part) {
            std::size_t count = 0;
            for (char c : part) {
                const auto byte = static_cast<unsigned char>(c);
                count += byte < 0x80 ? 1 : byte >= 0xC0 ? 2 : 0;
            }
            return count;
        };
        FUZZ_CHECK(IsValidUtf8(title));
        FUZZ_CHECK(codePageBytes(title) <= kWindowTitleLimit);
        if (title.size() < text.size())
            FUZZ_CHECK(codePageBytes(title) + (static_cast<unsigned char>(text[title.size()]) < 0x80 ? 1 : 2) >
                       kWindowTitleLimit);
    }
    // The window filter, whatever the other bits: never a hidden window nor
    // a control parent, never one without any part of the overlapped frame,
    // always a visible one with all of it.
    constexpr std::uint32_t kVisible = 0x10000000;       // WS_VISIBLE
    constexpr std::uint32_t kFrame = 0x00CF0000;         // WS_OVERLAPPEDWINDOW
    constexpr std::uint32_t kControlParent = 0x00010000; // WS_EX_CONTROLPARENT
    const std::uint32_t exStyle = static_cast<std::uint32_t>(wide[0]);
    FUZZ_CHECK(!QualifiesForWindowList(word & ~kVisible, exStyle));
    FUZZ_CHECK(!QualifiesForWindowList(word, exStyle | kControlParent));
    FUZZ_CHECK(!QualifiesForWindowList(word & ~kFrame, exStyle));
    FUZZ_CHECK(QualifiesForWindowList(word | kVisible | kFrame, exStyle & ~kControlParent));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
        FuzzDateTime(input);
        break;
    case 1:
        FuzzDateRoundTrip(input);
        break;
    case 2:
        FuzzTraceText(input);
        break;
    case 3:
        FuzzUtf8Lengths(input);
        break;
    case 4:
        FuzzFileRow(input);
        break;
    case 5:
        FuzzLongPath(input);
        break;
    default:
        FuzzInformationTexts(input);
        break;
    }
    return 0;
}
