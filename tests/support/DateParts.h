#pragma once
// A calendar date and time of day, spelled out the way the tests write them.
#include "base/DateTime.h"

inline DateTimeParts DateParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                               int millisecond = 0)
{
    DateTimeParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    parts.hour = hour;
    parts.minute = minute;
    parts.second = second;
    parts.millisecond = millisecond;
    return parts;
}
