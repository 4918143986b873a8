#include "app/EntryGuard.h"
#include "browser/SearchWindow.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunGuarded([] {
        Application->Initialize();
        Application->CreateForm(SearchWindow);
        Application->Run();
    });
}
