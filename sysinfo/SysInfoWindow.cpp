#include "sysinfo/SysInfoWindow.h"

#include "sysinfo/DisplayClock.h"
#include "sysinfo/Network.h"
#include "sysinfo/ProcessWindows.h"
#include "sysinfo/SystemReport.h"
#include "ui/Application.h"

TSysInfoTest* SysInfoTest = nullptr;

namespace {

// A step that fails in an unforeseen way is reported like any handler's
// exception, and the sequence goes on with the next step.
template <class Step>
void RunStep(Step step)
{
    try {
        step();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (const std::exception& e) {
        Application->ShowException(Exception(e.what()));
    } catch (...) {
        Application->ShowException(Exception(""));
    }
}

} // namespace

const FormClass& TSysInfoTest::Class()
{
    using W = TSysInfoTest;
    static const FormClass formClass{
        "TSysInfoTest",
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
    RunStep([this] { ShowIPAddress(*this); });
    RunStep([this] { ShowInternetState(*this); });
    RunStep([this] { ShowMemoryInfo(*this); });
    RunStep([this] { ShowSystemInfo(*this); });
    RunStep([this] { FillDriverList(); });
    RunStep([this] { ListBox1->Items.Clear(); });
    RunStep([this] { ::EnumWindows(WindowListProc, reinterpret_cast<LPARAM>(this)); });
    RunStep([this] { FillProcessList(*this); });
    RunStep([this] { ShowDisplayDevice(*this); });
}
