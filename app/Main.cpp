#include "app/EntryGuard.h"
#include "browser/SearchWindow.h"
#include "platform/DebugOutput.h"
#include "platform/ProcessMitigations.h"
#include "ui/Application.h"

#include <windows.h>

#include <cstdio>

namespace {

// One line for a debug monitor once the main window has closed: whether
// closing released every path record, seen from outside the process.
void TraceReleasedRecords()
{
    char line[96];
    std::snprintf(line, sizeof line, "path records: %ld made, %ld released", TTreeDataSearch::Created(),
                  TTreeDataSearch::Released());
    platform::SendDebugText(line);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform::HardenProcess();
    return RunGuarded([] {
        Application->Initialize();
        Application->CreateForm(SearchWindow);
        Application->Run();
        TraceReleasedRecords();
    });
}
