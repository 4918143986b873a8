#include "base/TraceText.h"

#include "base/Text.h"

#include <cstdio>

std::size_t FormatTraceText(char (&buffer)[kTraceBufferSize], const char* format, std::va_list arguments)
{
    const int written = std::vsnprintf(buffer, kTraceBufferSize, format, arguments);
    if (written < 0) {
        buffer[0] = '\0';
        return 0;
    }
    if (static_cast<std::size_t>(written) < kTraceBufferSize)
        return static_cast<std::size_t>(written);
    // Cut: drop a character the end of the buffer went through.
    const std::size_t length = Utf8CompleteLength({buffer, kTraceBufferSize - 1});
    buffer[length] = '\0';
    return length;
}
