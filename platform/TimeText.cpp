#include "base/WideText.h"
#include "platform/SysUtils.h"

TDateTime Now()
{
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    return SystemTimeToDateTime(local);
}

String TimeToStr(TDateTime value)
{
    const DateTimeParts parts = DecodeDateTime(value);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(parts.year);
    time.wMonth = static_cast<WORD>(parts.month);
    time.wDay = static_cast<WORD>(parts.day);
    time.wHour = static_cast<WORD>(parts.hour);
    time.wMinute = static_cast<WORD>(parts.minute);
    time.wSecond = static_cast<WORD>(parts.second);
    time.wMilliseconds = static_cast<WORD>(parts.millisecond);
    // No format and no flags: the user's long time format as it stands.
    const int length = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    const int written = ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text.data(), length);
    if (written <= 0)
        return {};
    text.resize(static_cast<std::size_t>(written - 1));
    return Narrow(text);
}
