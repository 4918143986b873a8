#include "platform/QuietDriveErrors.h"
#include "platform/SysUtils.h"

namespace {

struct DiskSpace {
    std::int64_t available = -1;
    std::int64_t total = -1;
};

DiskSpace QueryDiskSpace(int drive)
{
    if (drive < 0 || drive > 26)
        return {};
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + drive - 1), L':', L'\\', L'\0'};
    const platform::QuietDriveErrors quiet;
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    if (!::GetDiskFreeSpaceExW(drive == 0 ? nullptr : root, &available, &total, nullptr))
        return {};
    return {static_cast<std::int64_t>(available.QuadPart), static_cast<std::int64_t>(total.QuadPart)};
}

} // namespace

std::int64_t DiskFree(int drive)
{
    return QueryDiskSpace(drive).available;
}

std::int64_t DiskSize(int drive)
{
    return QueryDiskSpace(drive).total;
}
