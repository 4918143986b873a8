#pragma once
// The modal system-information window: a snapshot of the machine gathered
// once while the window is built, a drive's details on a click, a clock.
// The only part of the window's code that writes its controls or shows
// boxes; the probes it calls answer in plain values.
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TSysInfoTest : public TForm {
public:
    explicit TSysInfoTest(TComponent* owner);

    TLabel* Label1 = nullptr;
    TEdit* IPAddr = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* MemField = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* AbleMemField = nullptr;
    TTimer* SysTimer = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* ComNameEdit = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* UserNameEdit = nullptr;
    TEdit* TimeEdit = nullptr;
    TListBox* ShowDriverList = nullptr;
    TMemo* ShowDriverMemo = nullptr;
    TListBox* ListBox1 = nullptr;
    TListBox* ListBox2 = nullptr;

    // The start-up sequence: runs every step, whatever one of them meets.
    void FormCreate(TObject* sender);
    void OnTimerEvent(TObject* sender);
    void ShowDriverListClick(TObject* sender);

    static const FormClass& Class();

private:
    // The steps of the start-up sequence.
    void ShowIPAddress();
    void ShowInternetState();
    void ShowMemoryInfo();
    void ShowSystemInfo();
    void FillDriverList();
    void FillWindowList();
    void FillProcessList();
    void ShowDisplayDevice();
};

// The window of the current opening; null while none is open.
extern TSysInfoTest* SysInfoTest;
