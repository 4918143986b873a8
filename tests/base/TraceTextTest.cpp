#include "base/TraceText.h"

#include "base/Text.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

std::size_t Format(char (&buffer)[kTraceBufferSize], const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    const std::size_t length = FormatTraceText(buffer, format, arguments);
    va_end(arguments);
    return length;
}

TEST(TraceText, FormatsExactlyWithoutALineEnd)
{
    char buffer[kTraceBufferSize];
    Format(buffer, "file name : [%s], file_size[%d]", "readme.txt", 1234);
    EXPECT_STREQ(buffer, "file name : [readme.txt], file_size[1234]");
    Format(buffer, "file name : [%s], file_size[%d]", "100%s.txt", 0);
    EXPECT_STREQ(buffer, "file name : [100%s.txt], file_size[0]");
}

TEST(TraceText, LongTextIsCutAtAWholeCharacterWithin1023Bytes)
{
    char buffer[kTraceBufferSize];
    const String ascii(5000, 'a');
    EXPECT_EQ(Format(buffer, "%s", ascii.c_str()), 1023u);
    EXPECT_EQ(std::strlen(buffer), 1023u);

    // 1022 bytes then a three-byte character: it does not fit and goes whole.
    const String hangul = String(1022, 'b') + "한";
    EXPECT_EQ(Format(buffer, "%s", hangul.c_str()), 1022u);
    EXPECT_EQ(String(buffer), String(1022, 'b'));
}

} // namespace
