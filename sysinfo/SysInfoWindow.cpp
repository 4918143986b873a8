#include "sysinfo/SysInfoWindow.h"

#include "platform/SysUtils.h"
#include "sysinfo/CpuClock.h"
#include "sysinfo/DisplayDevices.h"
#include "sysinfo/DriveText.h"
#include "sysinfo/Drives.h"
#include "sysinfo/Network.h"
#include "sysinfo/NetworkText.h"
#include "sysinfo/ProcessWindows.h"
#include "sysinfo/ReportText.h"
#include "sysinfo/SystemReport.h"
#include "ui/Dialogs.h"
#include "ui/ErrorReport.h"

#include <vector>

TSysInfoTest* SysInfoTest = nullptr;

namespace {

// A step that fails in an unforeseen way is reported like any handler's
// exception, and the sequence goes on with the next step.
template <class Step>
void RunStep(Step step)
{
    try {
        step();
    } catch (...) {
        ReportCurrentException();
    }
}

// Figures are shown whole: a field too narrow for its figure grows to the
// right, into the free space beside it.
void ShowFigure(TEdit& field, const String& figure)
{
    field.SetText(figure);
    field.GrowToText();
}

void AddItems(TListBox& list, const std::vector<String>& items)
{
    for (const String& item : items)
        list.Items.Add(item);
}

} // namespace

const FormClass& TSysInfoTest::Class()
{
    using W = TSysInfoTest;
    static const FormClass formClass{"TSysInfoTest",
                                     {
                                         Published("Label1", &W::Label1),
                                         Published("IPAddr", &W::IPAddr),
                                         Published("Label2", &W::Label2),
                                         Published("MemField", &W::MemField),
                                         Published("Label3", &W::Label3),
                                         Published("AbleMemField", &W::AbleMemField),
                                         Published("SysTimer", &W::SysTimer),
                                         Published("Label4", &W::Label4),
                                         Published("ComNameEdit", &W::ComNameEdit),
                                         Published("Label5", &W::Label5),
                                         Published("UserNameEdit", &W::UserNameEdit),
                                         Published("TimeEdit", &W::TimeEdit),
                                         Published("ShowDriverList", &W::ShowDriverList),
                                         Published("ShowDriverMemo", &W::ShowDriverMemo),
                                         Published("ListBox1", &W::ListBox1),
                                         Published("ListBox2", &W::ListBox2),
                                         Published("FormCreate", &W::FormCreate),
                                         Published("OnTimerEvent", &W::OnTimerEvent),
                                         Published("ShowDriverListClick", &W::ShowDriverListClick),
                                     }};
    return formClass;
}

TSysInfoTest::TSysInfoTest(TComponent* owner) : TForm(owner)
{
    BuildFromLayout(L"SYSINFOTEST", Class());
}

void TSysInfoTest::FormCreate(TObject*)
{
    RunStep([this] { ShowIPAddress(); });
    RunStep([this] { ShowInternetState(); });
    RunStep([this] { ShowMemoryInfo(); });
    RunStep([this] { ShowSystemInfo(); });
    RunStep([this] { FillDriverList(); });
    RunStep([this] { ListBox1->Items.Clear(); });
    RunStep([this] { FillWindowList(); });
    RunStep([this] { FillProcessList(); });
    RunStep([this] { ShowDisplayDevice(); });
}

void TSysInfoTest::ShowIPAddress()
{
    ShowFigure(*IPAddr, HostAddressText(QueryHostAddress()));
}

void TSysInfoTest::ShowInternetState()
{
    const InternetState state = QueryInternetState();
    for (const String& text : InternetStateTexts(state.queried, state.flags))
        ShowMessage(text);
}

void TSysInfoTest::ShowMemoryInfo()
{
    const MemoryFigures memory = QueryMemory();
    ShowFigure(*MemField, std::to_string(WholeMebibytes(memory.totalBytes)));
    ShowFigure(*AbleMemField, std::to_string(WholeMebibytes(memory.availableBytes)));

    const String identifier = PrimaryDisplayIdentifier();
    if (identifier.empty())
        return;
    const IdentifierPieces pieces = SplitDisplayIdentifier(identifier);
    ShowMessage(pieces.first);
    ShowMessage(pieces.second);
}

void TSysInfoTest::ShowSystemInfo()
{
    const std::optional<String> computerName = QueryComputerName();
    if (!computerName)
        ShowMessage("GetComputerName");
    ComNameEdit->SetText(computerName.value_or(""));

    const std::optional<String> userName = QueryUserName();
    if (!userName)
        ShowMessage("GetUserName");
    UserNameEdit->SetText(userName.value_or(""));

    for (const char* templateText : kEnvironmentTemplates)
        if (const auto failure = ExpansionFailureText(templateText, ExpandTemplate(templateText), kWorkBufferSize))
            ShowMessage(*failure);

    for (const String& line : HardwareLines(QueryHardware()))
        ShowMessage(line);

    ShowMessage(ClockText(MeasureCpuClock(1000)));
}

void TSysInfoTest::FillDriverList()
{
    AddItems(*ShowDriverList, LogicalDriveLetters());
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

void TSysInfoTest::FillWindowList()
{
    AddItems(*ListBox1, ListedWindowTitles());
}

void TSysInfoTest::FillProcessList()
{
    AddItems(*ListBox2, RunningProcessNames());
}

void TSysInfoTest::ShowDisplayDevice()
{
    if (const std::optional<DisplayDevice> device = QueryFirstDisplayDevice("user32.dll", "EnumDisplayDevicesA"))
        ShowMessage(device->description);
}

void TSysInfoTest::OnTimerEvent(TObject*)
{
    TimeEdit->SetText(TimeToStr(Now()));
}
