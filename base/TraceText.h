#pragma once
#include <cstdarg>
#include <cstddef>

constexpr std::size_t kTraceBufferSize = 1024;

// Formats printf-style into `buffer`; text that does not fit is cut at the
// last whole UTF-8 character within 1023 bytes. Answers the length.
std::size_t FormatTraceText(char (&buffer)[kTraceBufferSize], const char* format, std::va_list arguments);
