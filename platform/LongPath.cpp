#include "platform/LongPath.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::size_t kClassicLimit = 260; // MAX_PATH, terminator included

bool IsDriveAbsolute(const std::wstring& path)
{
    return path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' &&
           (path[2] == L'\\' || path[2] == L'/');
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

} // namespace

std::wstring ExtendedLengthPath(std::wstring path)
{
    if (path.size() < kClassicLimit)
        return path;
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
        return path;
    if (IsDriveAbsolute(path)) {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return L"\\\\?\\" + path;
    }
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return path;
}

} // namespace platform
