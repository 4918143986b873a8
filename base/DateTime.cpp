#include "base/DateTime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

bool IsLeapYear(int year) noexcept
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) noexcept
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 0001-01-01 (day 0) to the given date, proleptic Gregorian.
std::int64_t DayNumber(int year, int month, int day) noexcept
{
    const std::int64_t y = year - 1;
    std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

const std::int64_t kEpochDayNumber = DayNumber(1899, 12, 30);
const std::int64_t kLastDayNumber = DayNumber(9999, 12, 31);

void AppendNumber(String& out, int value, int minDigits)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", minDigits, value);
    out += digits;
}

std::size_t RunLength(std::string_view text, std::size_t at) noexcept
{
    const char lower = static_cast<char>(text[at] | 0x20);
    std::size_t end = at;
    while (end < text.size() && static_cast<char>(text[end] | 0x20) == lower)
        ++end;
    return end - at;
}

} // namespace

TDateTime EncodeDateTime(const DateTimeParts& p) noexcept
{
    if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 ||
        p.second < 0 || p.second > 59 || p.millisecond < 0 || p.millisecond > 999)
        return 0.0;
    const std::int64_t days = DayNumber(p.year, p.month, p.day) - kEpochDayNumber;
    const std::int64_t ms = ((p.hour * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    // Before the epoch the fraction still counts forward from midnight.
    const double fraction = static_cast<double>(ms) / kMsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

DateTimeParts DecodeDateTime(TDateTime value) noexcept
{
    if (!std::isfinite(value) || std::fabs(value) > 3'000'000.0)
        return {};
    const double whole = std::trunc(value);
    // Round to the millisecond so that 14:03:07 does not come back as 14:03:06.999.
    std::int64_t ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    std::int64_t day = static_cast<std::int64_t>(whole) + kEpochDayNumber;
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        day += value >= 0 ? 1 : -1;
    }
    // Outside years 1 to 9999 the calendar below has no answer; such values
    // come only from arithmetic gone wrong, and show as the epoch.
    if (day < 0 || day > kLastDayNumber)
        return {};
    DateTimeParts p;
    // Find the year by estimate and correction, then month and day.
    int year = static_cast<int>(day / 365.2425) + 1;
    while (year > 1 && DayNumber(year, 1, 1) > day)
        --year;
    while (DayNumber(year + 1, 1, 1) <= day)
        ++year;
    std::int64_t rest = day - DayNumber(year, 1, 1);
    int month = 1;
    while (month < 12 && rest >= DaysInMonth(year, month))
        rest -= DaysInMonth(year, month++);
    p.year = year;
    p.month = month;
    p.day = static_cast<int>(rest) + 1;
    p.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    p.second = static_cast<int>(ms % 60);
    ms /= 60;
    p.minute = static_cast<int>(ms % 60);
    p.hour = static_cast<int>(ms / 60);
    return p;
}

String FormatDateTime(std::string_view format, TDateTime value)
{
    const DateTimeParts p = DecodeDateTime(value);
    String out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? format.size() : close;
            out.append(format.substr(i + 1, end - i - 1));
            i = end == format.size() ? end : end + 1;
            continue;
        }
        const std::size_t run = RunLength(format, i);
        switch (c | 0x20) {
        case 'y':
            if (run >= 3)
                AppendNumber(out, p.year, 4);
            else
                AppendNumber(out, p.year % 100, 2);
            break;
        case 'm':
            AppendNumber(out, p.month, run >= 2 ? 2 : 1);
            break;
        case 'd':
            AppendNumber(out, p.day, run >= 2 ? 2 : 1);
            break;
        case 'h':
            AppendNumber(out, p.hour, run >= 2 ? 2 : 1);
            break;
        case 'n':
            AppendNumber(out, p.minute, run >= 2 ? 2 : 1);
            break;
        case 's':
            AppendNumber(out, p.second, run >= 2 ? 2 : 1);
            break;
        case 'z':
            AppendNumber(out, p.millisecond, run >= 3 ? 3 : 1);
            break;
        default:
            out.append(format.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}
