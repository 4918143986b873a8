#include "base/DateTime.h"

#include "tests/support/DateParts.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTime, ListFormatPutsTheDayBeforeTheMonth)
{
    EXPECT_EQ(FormatDateTime("yyyy-dd-mm hh:nn:ss", EncodeDateTime(DateParts(2006, 5, 9, 14, 3, 7))),
              "2006-09-05 14:03:07");
    EXPECT_EQ(FormatDateTime("yyyy-dd-mm hh:nn:ss", EncodeDateTime(DateParts(1999, 12, 31, 23, 59, 59, 999))),
              "1999-31-12 23:59:59");
}

TEST(DateTime, KnownSerialNumbers)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime(DateParts(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(DateParts(1900, 1, 1)), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(DateParts(2000, 1, 1, 12)), 36526.5);
    EXPECT_DOUBLE_EQ(EncodeDateTime(DateParts(1899, 12, 29, 6)), -1.25);
}

TEST(DateTime, EveryMillisecondOfADaySurvivesTheRoundTrip)
{
    // Seconds must never come back one short through the floating fraction.
    for (int ms = 0; ms < 86'400'000; ms += 997) {
        const DateTimeParts in = DateParts(2024, 2, 29, ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
        const DateTimeParts out = DecodeDateTime(EncodeDateTime(in));
        ASSERT_EQ(out.hour, in.hour) << ms;
        ASSERT_EQ(out.minute, in.minute) << ms;
        ASSERT_EQ(out.second, in.second) << ms;
        ASSERT_EQ(out.millisecond, in.millisecond) << ms;
        ASSERT_EQ(out.day, 29);
    }
}

TEST(DateTime, CalendarEdges)
{
    for (const DateTimeParts& in :
         {DateParts(1, 1, 1), DateParts(1600, 2, 29), DateParts(1900, 2, 28), DateParts(1900, 3, 1),
          DateParts(2000, 2, 29), DateParts(2100, 12, 31), DateParts(9999, 12, 31, 23, 59, 59)}) {
        const DateTimeParts out = DecodeDateTime(EncodeDateTime(in));
        EXPECT_EQ(out.year, in.year);
        EXPECT_EQ(out.month, in.month);
        EXPECT_EQ(out.day, in.day);
        EXPECT_EQ(out.second, in.second);
    }
}

TEST(DateTime, InvalidFieldsGiveTheEpoch)
{
    EXPECT_EQ(EncodeDateTime(DateParts(2023, 2, 29)), 0.0);
    EXPECT_EQ(EncodeDateTime(DateParts(2023, 13, 1)), 0.0);
    EXPECT_EQ(EncodeDateTime(DateParts(2023, 1, 1, 24)), 0.0);
    EXPECT_EQ(EncodeDateTime(DateParts(0, 1, 1)), 0.0);
    const DateTimeParts nan = DecodeDateTime(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan.year, 1899);
}

TEST(DateTime, ValuesBeyondYearsOneTo9999DecodeAsTheEpoch)
{
    // Before 0001-01-01 the calendar once gave year 0 and below, and day 0.
    for (const TDateTime value : {-693594.0, -700000.0, -2'999'999.5, 2'958'466.0, 2'999'999.0, -693593.9999999999,
                                  std::numeric_limits<double>::infinity()}) {
        const DateTimeParts out = DecodeDateTime(value);
        EXPECT_EQ(out.year, 1899) << value;
        EXPECT_EQ(out.month, 12) << value;
        EXPECT_EQ(out.day, 30) << value;
        EXPECT_EQ(FormatDateTime("yyyy-dd-mm hh:nn:ss", value), "1899-30-12 00:00:00") << value;
    }
    EXPECT_EQ(FormatDateTime("yyyy-dd-mm hh:nn:ss", -693593.5), "0001-01-01 12:00:00");
    EXPECT_EQ(FormatDateTime("yyyy-dd-mm hh:nn:ss", 2'958'465.999), "9999-31-12 23:58:33");
}

TEST(DateTime, FormatTokensAndLiterals)
{
    const TDateTime t = EncodeDateTime(DateParts(2007, 3, 4, 5, 6, 7, 8));
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s.zzz", t), "4/3/07 5:6:7.008");
    EXPECT_EQ(FormatDateTime("\"yyyy\" 'mm' yyyy", t), "yyyy mm 2007");
    EXPECT_EQ(FormatDateTime("날짜 yyyy", t), "날짜 2007");
    EXPECT_EQ(FormatDateTime("", t), "");
}

} // namespace
