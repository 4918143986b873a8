// A start-up on a drive large enough for the progress window to show,
// stopped from that window every way a user can: its button, by message and
// by a real click, Esc, and the close box. Each time the program must end
// promptly with exit code 0, without its main window ever showing, having
// released every path record it made.
//   tamsaek_cancel_driver PROGRAM.exe
// Exits with 0 when every way went so; the log gives each way's figures.
#include "tests/e2e/Launched.h"
#include "tests/e2e/Remote.h"
#include "tests/support/DebugMonitor.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainTitle[] = L"윈도우탐색기";
constexpr wchar_t kProgressTitle[] = L"폴더를 읽는 중…";
constexpr wchar_t kCancelCaption[] = L"취소";
// Bounds on waiting. What a user may expect is an end within two seconds;
// that figure is logged, not asserted, for a loaded machine can make Wine
// alone take seconds to end a process. A stop that does not stop keeps the
// program reading the whole drive, far beyond the bound.
constexpr DWORD kProgressTimeoutMs = 60000;
constexpr long long kEndWithinMs = 10000;
constexpr DWORD kKillAfterMs = 30000;
constexpr long long kForegroundTimeoutMs = 5000;

void Log(const std::string& text)
{
    std::printf("[cancel] %s\n", text.c_str());
    std::fflush(stdout);
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// By the caption the window manager keeps: asking the window itself would
// wait on a program that is busy stopping.
HWND TopLevelWindowOf(DWORD processId, const wchar_t* title)
{
    for (HWND window : VisibleTopLevelWindows(processId)) {
        wchar_t caption[64] = {};
        ::GetWindowTextW(window, caption, 64);
        if (std::wstring(caption) == title)
            return window;
    }
    return nullptr;
}

// A press and release of the left button at a point of the screen, as the
// mouse makes them. The point travels in each event itself: a cursor placed
// beforehand may reach the window system after the press.
void ClickOnScreen(POINT point)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    // The platform maps a normalised 0..65535 back to pixels by
    // multiplying by the screen's size; round up so it lands on the pixel.
    const LONG dx = static_cast<LONG>((point.x * 65536LL + width - 1) / width);
    const LONG dy = static_cast<LONG>((point.y * 65536LL + height - 1) / height);
    INPUT inputs[3] = {};
    const DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = dx;
        inputs[i].mi.dy = dy;
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    if (::SendInput(3, inputs, sizeof(INPUT)) != 3)
        throw Failure("the platform took no mouse input");
}

POINT CentreOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Where the window itself says its close box is: the first point of its
// caption, from the right, that it answers HTCLOSE for.
POINT CloseBoxOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const int captionMiddle = rect.top + ::GetSystemMetrics(SM_CYFIXEDFRAME) + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = rect.right - 1; x > rect.left; --x)
        if (Ask(window, WM_NCHITTEST, 0, MAKELPARAM(x, captionMiddle)) == HTCLOSE)
            return {x - 3, captionMiddle};
    throw Failure("the progress window has no close box");
}

void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (::SendInput(2, inputs, sizeof(INPUT)) != 2)
        throw Failure("the platform took no keyboard input");
}

// Keys go to the foreground window, and the window system makes a window
// the foreground one only some time after it was asked to.
void BringToFront(HWND window)
{
    const auto asked = std::chrono::steady_clock::now();
    while (::GetForegroundWindow() != window) {
        if (MillisecondsSince(asked) > kForegroundTimeoutMs)
            throw Failure("the progress window never became the foreground window");
        ::SetForegroundWindow(window);
        ::Sleep(20);
    }
}

HWND CancelButtonOf(HWND progress)
{
    return OnlyChild(progress, L"Button", kCancelCaption);
}

struct Way {
    const char* name;
    std::function<void(HWND progress)> stop;
};

const std::vector<Way> kWays = {
    {"the button, by its message", [](HWND progress) { ::PostMessageW(CancelButtonOf(progress), BM_CLICK, 0, 0); }},
    {"the button, by a mouse click", [](HWND progress) { ClickOnScreen(CentreOf(CancelButtonOf(progress))); }},
    {"Esc",
     [](HWND progress) {
         BringToFront(progress);
         PressKey(VK_ESCAPE);
     }},
    {"the close box", [](HWND progress) { ClickOnScreen(CloseBoxOf(progress)); }},
};

// Starts the program, stops it one way and checks how it ended.
void StopOneWay(const std::wstring& exe, DebugMonitor& monitor, const Way& way)
{
    const Launched program(exe, L"");
    const auto started = std::chrono::steady_clock::now();
    HWND progress = nullptr;
    while (!(progress = TopLevelWindowOf(program.Id(), kProgressTitle))) {
        if (TopLevelWindowOf(program.Id(), kMainTitle))
            throw Failure("the walk ended before its progress window showed: the drive is too small for this run");
        if (!program.Running())
            throw Failure("the program ended before its progress window showed");
        if (MillisecondsSince(started) > kProgressTimeoutMs)
            throw Failure("no progress window");
        ::Sleep(10);
    }
    Log(std::string(way.name) + ": the progress window showed after " + std::to_string(MillisecondsSince(started)) +
        " ms");
    if (::GetWindow(progress, GW_OWNER))
        throw Failure("the progress window has an owner, so the taskbar does not show it");
    way.stop(progress);
    const auto asked = std::chrono::steady_clock::now();
    bool mainShown = false;
    while (::WaitForSingleObject(program.Process(), 5) == WAIT_TIMEOUT) {
        mainShown = mainShown || TopLevelWindowOf(program.Id(), kMainTitle);
        if (MillisecondsSince(asked) > kKillAfterMs)
            break;
    }
    const long long endedAfter = MillisecondsSince(asked);
    if (program.Running()) {
        // A disabled button says the request arrived and the stop did not follow.
        const HWND button = ::FindWindowExW(progress, nullptr, L"Button", nullptr);
        const bool taken = button && !::IsWindowEnabled(button);
        throw Failure(std::string("still running ") + std::to_string(endedAfter) + " ms after the request" +
                      (taken ? ", which the window took" : ", which the window never took") +
                      (mainShown ? ", its main window shown" : ""));
    }
    const DWORD code = program.WaitForExit(0);

    long made = -1;
    long released = -1;
    int records = 0;
    for (const std::string& line : monitor.Lines(program.Id()))
        if (std::sscanf(line.c_str(), "path records: %ld made, %ld released", &made, &released) == 2)
            ++records;
    Log(std::string(way.name) + ": ended " + std::to_string(endedAfter) + " ms after the request, exit code " +
        std::to_string(code) + ", path records: " + std::to_string(made) + " made, " + std::to_string(released) +
        " released");
    if (mainShown)
        throw Failure("the main window showed after the walk was stopped");
    if (endedAfter > kEndWithinMs)
        throw Failure("the program took " + std::to_string(endedAfter) + " ms to end");
    if (code != 0)
        throw Failure("exit code " + std::to_string(code));
    if (records != 1 || made < 1 || released != made)
        throw Failure("the path records do not balance");
}

int Run()
{
    const std::wstring exe = PathArguments(1, "tamsaek_cancel_driver PROGRAM.exe")[0];
    DebugMonitor monitor;
    if (!monitor.Listening())
        throw Failure("cannot listen to the debugger output");
    int failed = 0;
    for (const Way& way : kWays) {
        try {
            StopOneWay(exe, monitor, way);
        } catch (const Failure& failure) {
            Log(std::string(way.name) + ": FAILED: " + failure.what());
            ++failed;
        }
    }
    Log(std::to_string(kWays.size() - static_cast<std::size_t>(failed)) + " of " + std::to_string(kWays.size()) +
        " ways stopped the start-up as they should");
    return failed == 0 ? 0 : 1;
}

} // namespace

int main()
{
    try {
        return Run();
    } catch (const std::exception& e) {
        Log(std::string("FAILED: ") + e.what());
        return 1;
    }
}
