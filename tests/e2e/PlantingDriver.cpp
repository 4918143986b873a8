// The attack a program started from the Downloads folder must withstand: a
// wininet.dll that a web page left there earlier. tamsaek.exe is copied
// beside the stand-in (tests/e2e/PlantedLibrary.cpp) and started from there.
// Run it with Wine told to prefer a DLL found beside the program
// (WINEDLLOVERRIDES=wininet=n,b, set by ctest before Wine starts the driver),
// which is what Windows does for a DLL that is not one of its known ones.
// The program is used up to where it asks WinINet (the information window)
// and closed; the stand-in's marker must stay absent.
//   tamsaek_planting_driver              finds tamsaek.exe and planted\wininet.dll beside itself
//   tamsaek_planting_driver --load-bare  the control: loads wininet.dll by its bare name
// Exits with 0 when the stand-in was never loaded.
#include "platform/UniqueHandle.h"
#include "tests/e2e/Launched.h"
#include "tests/e2e/Planting.h"
#include "tests/e2e/Remote.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const std::wstring kDownloads = L"C:\\tamsaek-planting";
constexpr DWORD kWindowTimeoutMs = 120000; // the walk of drive C comes first
constexpr DWORD kExitTimeoutMs = 30000;

void Log(const std::string& text)
{
    std::printf("[planting] %s\n", text.c_str());
    std::fflush(stdout);
}

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw Failure("cannot name the driver's own file");
    return std::wstring(path, length);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolder(const std::wstring& folder)
{
    for (const wchar_t* name : {L"tamsaek.exe", L"wininet.dll", L"control.exe", kPlantedMarker})
        ::DeleteFileW((folder + L"\\" + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// The downloads folder with the program, the stand-in and the control in it;
// gone again however the run ends.
class Downloads {
public:
    explicit Downloads(const std::wstring& builds)
    {
        RemoveFolder(kDownloads);
        if (!::CreateDirectoryW(kDownloads.c_str(), nullptr))
            throw Failure("cannot make " + Utf8(kDownloads));
        Copy(builds + L"\\tamsaek.exe", L"tamsaek.exe");
        Copy(builds + L"\\planted\\wininet.dll", L"wininet.dll");
        Copy(OwnPath(), L"control.exe");
    }
    ~Downloads() { RemoveFolder(kDownloads); }
    Downloads(const Downloads&) = delete;
    Downloads& operator=(const Downloads&) = delete;

    std::wstring Path(const wchar_t* name) const { return kDownloads + L"\\" + name; }

private:
    void Copy(const std::wstring& from, const wchar_t* name)
    {
        if (!::CopyFileW(from.c_str(), Path(name).c_str(), FALSE))
            throw Failure("cannot copy " + Utf8(from) + " (error " + std::to_string(::GetLastError()) + ")");
    }
};

// A visible top-level window of the process with that caption (or any
// message box, when the caption is null).
HWND FindWindowOf(const Launched& process, const wchar_t* caption)
{
    for (HWND window : VisibleTopLevelWindows(process.Id())) {
        const bool box = ClassOf(window) == L"#32770";
        if (caption ? !box && WindowText(window) == caption : box)
            return window;
    }
    return nullptr;
}

// Waits for the window with that caption, pressing OK on every message box
// that comes first.
HWND AwaitWindow(const Launched& process, const wchar_t* caption, int& boxes)
{
    const ULONGLONG deadline = ::GetTickCount64() + kWindowTimeoutMs;
    for (;;) {
        if (HWND window = FindWindowOf(process, caption))
            return window;
        if (HWND box = FindWindowOf(process, nullptr)) {
            if (HWND ok = ::GetDlgItem(box, IDOK))
                ::PostMessageW(ok, BM_CLICK, 0, 0);
            ++boxes;
            while (::IsWindow(box) && ::IsWindowVisible(box) && ::GetTickCount64() < deadline)
                ::Sleep(20);
        }
        if (!process.Running())
            throw Failure("the program ended while waiting for \"" + Utf8(caption) + "\"");
        if (::GetTickCount64() >= deadline)
            throw Failure("waited in vain for \"" + Utf8(caption) + "\"");
        ::Sleep(20);
    }
}

int Run()
{
    const std::wstring builds = FolderOf(OwnPath());
    const Downloads downloads(builds);
    const std::wstring marker = downloads.Path(kPlantedMarker);

    // The control: a bare-name load from that folder does pick the stand-in,
    // so its absence below means the program withstood it.
    {
        const Launched control(downloads.Path(L"control.exe"), L" --load-bare", kDownloads);
        control.WaitForExit(kExitTimeoutMs);
        if (!Exists(marker))
            throw Failure("the stand-in left no marker even when loaded by its bare name: the attack does not work "
                          "here, so the run would prove nothing");
        ::DeleteFileW(marker.c_str());
        Log("control: a bare-name load beside the program loads the stand-in");
    }

    const Launched program(downloads.Path(L"tamsaek.exe"), L"", kDownloads);
    int boxes = 0;
    const HWND main = AwaitWindow(program, L"윈도우탐색기", boxes);
    ::PostMessageW(OnlyChild(main, L"Button", L"시스템정보"), BM_CLICK, 0, 0);
    const HWND info = AwaitWindow(program, L"시스템정보", boxes);
    Log("the information window opened after " + std::to_string(boxes) + " message boxes");
    ::PostMessageW(info, WM_CLOSE, 0, 0);
    const ULONGLONG deadline = ::GetTickCount64() + kExitTimeoutMs;
    while (::IsWindow(info) && ::GetTickCount64() < deadline)
        ::Sleep(20);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    const DWORD code = program.WaitForExit(kExitTimeoutMs);
    if (code != 0)
        throw Failure("the program exited with code " + std::to_string(code));
    if (Exists(marker))
        throw Failure("tamsaek.exe loaded the wininet.dll that lay beside it");
    Log("tamsaek.exe ran and closed without loading the wininet.dll beside it");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--load-bare") == 0) {
        const platform::Module library(::LoadLibraryW(L"wininet.dll"));
        return library ? 0 : 1;
    }
    try {
        const int code = Run();
        Log("passed");
        return code;
    } catch (const std::exception& e) {
        Log(std::string("FAILED: ") + e.what());
        return 1;
    }
}
