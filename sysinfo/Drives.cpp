#include "sysinfo/Drives.h"

#include "base/WideText.h"
#include "platform/QuietDriveErrors.h"
#include "platform/SysUtils.h"

std::vector<String> LogicalDriveLetters()
{
    return DriveLetters(::GetLogicalDrives());
}

DriveDetails QueryDrive(int index)
{
    DriveDetails drive;
    drive.freeBytes = DiskFree(index + 1);
    drive.totalBytes = DiskSize(index + 1);
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + index), L':', L'\\', L'\0'};
    wchar_t volumeName[MAX_PATH + 1] = {};
    wchar_t fileSystem[10] = {};
    DWORD serial = 0;
    const platform::QuietDriveErrors quiet;
    if (::GetVolumeInformationW(root, volumeName, MAX_PATH + 1, &serial, nullptr, nullptr, fileSystem, 10)) {
        drive.volumeName = Narrow(volumeName);
        drive.serial = serial;
        drive.fileSystem = Narrow(fileSystem);
    }
    drive.driveType = ::GetDriveTypeW(root);
    return drive;
}
