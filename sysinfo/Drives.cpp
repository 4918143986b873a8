#include "platform/QuietDriveErrors.h"
#include "sysinfo/DriveText.h"
#include "sysinfo/SysInfoWindow.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

namespace {

// What the platform says about one drive, 0 being A. Slow drives hold the
// window until they answer; a drive that does not answer keeps the
// defaults of DriveDetails.
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

} // namespace

void TSysInfoTest::FillDriverList()
{
    for (const String& letter : DriveLetters(::GetLogicalDrives()))
        ShowDriverList->Items.Add(letter);
}

void TSysInfoTest::ShowDriverListClick(TObject*)
{
    const int selected = ShowDriverList->ItemIndex();
    if (selected < 0)
        return;
    const String item = ShowDriverList->Items[selected];
    // Only drive letters are ever listed; anything else names no drive.
    if (item.empty() || item[0] < 'A' || item[0] > 'Z')
        return;
    const DriveDetails drive = QueryDrive(item[0] - 'A');
    ShowDriverMemo->Lines.Clear();
    for (const String& line : DriveDetailLines(drive))
        ShowDriverMemo->Lines.Add(line);
}
