#include "base/TraceText.h"
#include "browser/SearchWindow.h"

void TSearchWindow::DebugTrace(const char* format, ...)
{
    char buffer[kTraceBufferSize] = {};
    std::va_list arguments;
    va_start(arguments, format);
    FormatTraceText(buffer, format, arguments);
    va_end(arguments);
    trace_.Post(buffer);
}
