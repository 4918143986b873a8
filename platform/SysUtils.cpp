#include "platform/SysUtils.h"

#include "base/WideText.h"
#include "platform/LongPath.h"

#include <climits>

bool DirectoryExists(const String& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(platform::ExtendedLengthPath(Widen(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int AnsiCompareText(const String& a, const String& b)
{
    const std::wstring wa = Widen(a);
    const std::wstring wb = Widen(b);
    if (wa.size() > INT_MAX || wb.size() > INT_MAX)
        return a == b ? 0 : (a < b ? -1 : 1);
    const int result = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), static_cast<int>(wa.size()),
                                        wb.c_str(), static_cast<int>(wb.size()));
    return result == CSTR_EQUAL ? 0 : (result == CSTR_LESS_THAN ? -1 : 1);
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time)
{
    DateTimeParts parts;
    parts.year = time.wYear;
    parts.month = time.wMonth;
    parts.day = time.wDay;
    parts.hour = time.wHour;
    parts.minute = time.wMinute;
    parts.second = time.wSecond;
    parts.millisecond = time.wMilliseconds;
    return EncodeDateTime(parts);
}
