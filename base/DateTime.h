#pragma once
// The framework's date-time value: days since 1899-12-30 00:00, the time of
// day as the fraction.
#include "base/Text.h"

using TDateTime = double;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Out-of-range fields give 0 (the epoch) rather than a wrong date.
TDateTime EncodeDateTime(const DateTimeParts& parts) noexcept;
DateTimeParts DecodeDateTime(TDateTime value) noexcept;

// Tokens: yyyy yy mm m dd d hh h nn n ss s zzz, text in double or single
// quotes copied literally; every other character is copied as it is.
String FormatDateTime(std::string_view format, TDateTime value);
