// Starts the real tamsaek.exe and uses it only from outside, through its
// windows, as a user would: the address bar and its two buttons, a
// double-click on a folder row, the information window with the message
// boxes before it, closing both windows.
//   tamsaek_e2e_driver PROGRAM.exe PICTURE_FOLDER
// Exits with 0 when everything went as a user would expect; the log says
// what was seen and how long each step took. Pictures of both windows are
// saved as e2e-main.png and e2e-sysinfo.png in PICTURE_FOLDER.
#include "platform/UniqueHandle.h"
#include "tests/e2e/Remote.h"
#include "tests/e2e/Screenshot.h"
#include "tests/support/DebugMonitor.h"

#include <windows.h>

#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kMainTitle[] = L"윈도우탐색기";
constexpr wchar_t kInfoTitle[] = L"시스템정보";
constexpr wchar_t kGoButton[] = L"바로가기";
constexpr wchar_t kInfoButton[] = L"시스템정보";
constexpr wchar_t kNotAFolder[] = L"알맞은 경로가 아닙니다.";
constexpr wchar_t kBoxClass[] = L"#32770";
// The static control of a message box that holds its text.
constexpr int kBoxTextId = 0xFFFF;

// Bounds on waiting, so that a hang fails the run; none of them measures speed.
constexpr DWORD kShowTimeoutMs = 120000; // the walk of drive C comes first
constexpr DWORD kStepTimeoutMs = 20000;
constexpr DWORD kInfoTimeoutMs = 120000;
constexpr DWORD kExitTimeoutMs = 30000;

// Made on drive C before the program starts, so that its walk finds them.
const std::wstring kFixtureRoot = L"C:\\tamsaek-e2e";
const std::wstring kFolder = kFixtureRoot + L"\\자료";
const std::wstring kSubfolderName = L"깊은폴더";
const std::wstring kSubfolder = kFolder + L"\\" + kSubfolderName;

struct Row {
    std::wstring name;
    std::wstring size;
    bool operator<(const Row& other) const { return std::tie(name, size) < std::tie(other.name, other.size); }
    bool operator==(const Row& other) const { return name == other.name && size == other.size; }
};

// A folder's size column is one blank.
const std::vector<Row> kFolderRows = {{kSubfolderName, L" "}, {L"notes.txt", L"17"}, {L"보고서.txt", L"1234"}};
const std::vector<Row> kSubfolderRows = {{L"inner.txt", L"5"}};

void Log(const std::string& text)
{
    std::printf("[e2e] %s\n", text.c_str());
    std::fflush(stdout);
}

class Stopwatch {
public:
    long long Milliseconds() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    }
    std::string Text() const { return std::to_string(Milliseconds()) + " ms"; }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void MakeFolder(const std::wstring& path)
{
    if (!::CreateDirectoryW(path.c_str(), nullptr))
        throw Failure("cannot make the folder " + Utf8(path));
}

void MakeFile(const std::wstring& path, DWORD size)
{
    const platform::FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string bytes(size, 'x');
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), bytes.data(), size, &written, nullptr) || written != size)
        throw Failure("cannot make the file " + Utf8(path));
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    {
        const platform::FindHandle search(::FindFirstFileW((path + L"\\*").c_str(), &entry));
        if (search) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = path + L"\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileW(child.c_str());
            } while (::FindNextFileW(search.Get(), &entry));
        }
    }
    ::RemoveDirectoryW(path.c_str());
}

// The folders and files the run browses; gone again when the run ends,
// however it ends.
class Fixture {
public:
    Fixture()
    {
        RemoveTree(kFixtureRoot);
        MakeFolder(kFixtureRoot);
        MakeFolder(kFolder);
        MakeFolder(kSubfolder);
        MakeFile(kFolder + L"\\notes.txt", 17);
        MakeFile(kFolder + L"\\보고서.txt", 1234);
        MakeFile(kSubfolder + L"\\inner.txt", 5);
    }
    ~Fixture() { RemoveTree(kFixtureRoot); }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;
};

// The listing a user would expect of a folder: its entries, those whose
// names begin with a full stop left out.
std::vector<std::wstring> EntriesOf(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const platform::FindHandle search(::FindFirstFileW((folder + L"*.*").c_str(), &entry));
    if (!search)
        throw Failure("cannot list " + Utf8(folder));
    do {
        if (entry.cFileName[0] != L'.')
            names.emplace_back(entry.cFileName);
    } while (::FindNextFileW(search.Get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string Joined(const std::vector<std::wstring>& texts)
{
    std::string joined;
    for (const std::wstring& text : texts)
        joined += (joined.empty() ? "\"" : ", \"") + Printable(text) + "\"";
    return "[" + joined + "]";
}

std::string Joined(const std::vector<Row>& rows)
{
    std::string joined;
    for (const Row& row : rows)
        joined += (joined.empty() ? "" : ", ") + Printable(row.name) + " (" + Printable(row.size) + ")";
    return "[" + joined + "]";
}

// The caption as the system keeps it: asks nothing of the program, so a
// window on its way out gives an empty text rather than no answer.
std::wstring CaptionOf(HWND window)
{
    wchar_t text[256] = {};
    const int length = ::GetWindowTextW(window, text, 256);
    return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// tamsaek.exe as a user runs it; killed if the run fails while it is open.
class Program {
public:
    explicit Program(const std::wstring& exe)
    {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info))
            throw Failure("cannot start " + Utf8(exe) + " (error " + std::to_string(::GetLastError()) + ")");
        process_.Reset(info.hProcess);
        thread_.Reset(info.hThread);
        id_ = info.dwProcessId;
    }

    ~Program()
    {
        if (Running()) {
            ::TerminateProcess(process_.Get(), 1);
            ::WaitForSingleObject(process_.Get(), 10000);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HANDLE Process() const { return process_.Get(); }
    DWORD Id() const { return id_; }
    bool Running() const { return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const
    {
        DWORD code = 0;
        ::GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

    std::vector<HWND> Boxes() const
    {
        std::vector<HWND> boxes;
        for (HWND window : VisibleTopLevelWindows(id_))
            if (ClassOf(window) == kBoxClass)
                boxes.push_back(window);
        return boxes;
    }

    // A window is known by its caption and by what it holds.
    HWND Window(const wchar_t* title, const wchar_t* childClass) const
    {
        for (HWND window : VisibleTopLevelWindows(id_))
            if (ClassOf(window) != kBoxClass && CaptionOf(window) == title &&
                !ChildrenOfClass(window, childClass).empty())
                return window;
        return nullptr;
    }

private:
    platform::Handle process_;
    platform::Handle thread_;
    DWORD id_ = 0;
};

std::wstring BoxText(HWND box)
{
    HWND text = ::GetDlgItem(box, kBoxTextId);
    if (!text)
        throw Failure("a message box without its text control");
    return WindowText(text);
}

// Polls `probe` until it gives something. Fails when the wait runs out,
// when the program ends, and, unless boxes are awaited, when a message box
// shows up instead.
template <class Probe>
auto WaitUntil(const Program& program, const std::string& what, DWORD timeoutMs, Probe probe, bool boxesAwaited = false)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        // Asked before the probe: a program that ends just after it gave
        // what was awaited has not failed.
        const bool running = program.Running();
        if (auto result = probe())
            return result;
        if (!boxesAwaited)
            if (const std::vector<HWND> boxes = program.Boxes(); !boxes.empty())
                throw Failure("waiting for " + what + ", an unexpected message box appeared: \"" +
                              Printable(BoxText(boxes.front())) + "\"");
        if (!running)
            throw Failure("the program ended (exit code " + std::to_string(program.ExitCode()) +
                          ") while waiting for " + what);
        if (::GetTickCount64() >= deadline)
            throw Failure("waited " + std::to_string(timeoutMs / 1000) + " s in vain for " + what);
        ::Sleep(20);
    }
}

void Click(HWND button)
{
    // Posted: a modal box opened by the click must not hold the driver.
    if (!::PostMessageW(button, BM_CLICK, 0, 0))
        throw Failure("cannot click the button \"" + Utf8(WindowText(button)) + "\"");
}

// A window the user could not see whole fails the run.
void ExpectPlaced(HWND window, const std::string& name)
{
    const std::vector<std::string> faults = PlacementFaults(window, name);
    std::string text;
    for (const std::string& fault : faults)
        text += (text.empty() ? "" : "; ") + fault;
    if (!faults.empty())
        throw Failure(text);
    RECT outer{};
    ::GetWindowRect(window, &outer);
    char where[96];
    std::snprintf(where, sizeof where, "(%ld, %ld) to (%ld, %ld)", static_cast<long>(outer.left),
                  static_cast<long>(outer.top), static_cast<long>(outer.right), static_cast<long>(outer.bottom));
    Log(name + " inside the work area at " + where + ", every control visible");
}

struct SeenBox {
    std::wstring caption;
    std::wstring text;
};

// Reads the box's text, presses its OK button and waits until it is gone.
SeenBox Dismiss(const Program& program, HWND box)
{
    SeenBox seen{WindowText(box), BoxText(box)};
    ExpectPlaced(box, "the message box \"" + Printable(seen.text) + "\"");
    HWND ok = ::GetDlgItem(box, IDOK);
    if (!ok) {
        const std::vector<HWND> buttons = ChildrenOfClass(box, L"Button");
        if (buttons.empty())
            throw Failure("the message box \"" + Printable(seen.text) + "\" has no button");
        ok = buttons.front();
    }
    Click(ok);
    WaitUntil(
        program, "the message box \"" + Printable(seen.text) + "\" to close", kStepTimeoutMs,
        [&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, true);
    return seen;
}

void TypeInto(HWND edit, const std::wstring& text)
{
    if (!Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        throw Failure("the address bar did not take \"" + Utf8(text) + "\"");
}

std::vector<Row> ListRows(const Program& program, HWND list)
{
    std::vector<Row> rows;
    const int count = ListRowCount(list);
    for (int i = 0; i < count; ++i)
        rows.push_back({ListCellText(program.Process(), list, i, 0), ListCellText(program.Process(), list, i, 1)});
    return rows;
}

void ExpectRows(const Program& program, HWND list, std::vector<Row> expected, const std::string& where)
{
    std::vector<Row> rows = ListRows(program, list);
    std::sort(rows.begin(), rows.end());
    std::sort(expected.begin(), expected.end());
    if (rows != expected)
        throw Failure("the file list of " + where + " shows " + Joined(rows) + ", expected " + Joined(expected));
}

void ExpectEqual(const std::wstring& seen, const std::wstring& expected, const std::string& what)
{
    if (seen != expected)
        throw Failure(what + " shows \"" + Printable(seen) + "\", expected \"" + Printable(expected) + "\"");
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsWholeNumber(const std::wstring& text)
{
    return !text.empty() && text.size() <= 19 &&
           std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool IsDottedQuad(const std::wstring& text)
{
    int parts = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find(L'.', start);
        const std::wstring part = text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        if (!IsWholeNumber(part) || part.size() > 3 || std::stoi(part) > 255)
            return false;
        ++parts;
        if (dot == std::wstring::npos)
            return parts == 4;
        start = dot + 1;
    }
}

RECT WindowRectOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// The single-line edit to the right of a label and level with it, as a
// user pairs a field with its caption.
HWND FieldBeside(HWND form, const wchar_t* label)
{
    const RECT caption = WindowRectOf(OnlyChild(form, L"Static", label));
    HWND best = nullptr;
    LONG bestDistance = 0;
    for (HWND edit : ChildrenOfClass(form, L"Edit")) {
        if (::GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE)
            continue;
        const RECT field = WindowRectOf(edit);
        const LONG overlap = std::min(caption.bottom, field.bottom) - std::max(caption.top, field.top);
        const LONG distance = field.left - caption.left;
        if (overlap > 0 && distance > 0 && (!best || distance < bestDistance)) {
            best = edit;
            bestDistance = distance;
        }
    }
    if (!best)
        throw Failure("no field beside the label \"" + Utf8(label) + "\"");
    return best;
}

void ClickRow(HWND list, const RECT& row, bool twice)
{
    // A point well inside the row's name, in screen coordinates; the
    // platform delivers the clicks to whatever window is there.
    POINT point{row.left + std::min<LONG>(12, (row.right - row.left) / 2), (row.top + row.bottom) / 2};
    ::ClientToScreen(list, &point);
    if (::WindowFromPoint(point) != list)
        throw Failure("the row to click is covered or outside the file list");
    if (!::SetCursorPos(point.x, point.y))
        throw Failure("cannot move the mouse pointer");
    INPUT inputs[4] = {};
    const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = flags[i];
    }
    const UINT count = twice ? 4 : 2;
    if (::SendInput(count, inputs, sizeof(INPUT)) != count)
        throw Failure("the mouse clicks were not delivered");
}

// What the information window shows before it opens, one box after the
// other, checked for their order and shape; the values are this machine's.
void CheckInfoBoxes(const std::vector<SeenBox>& boxes)
{
    static const std::vector<std::wstring> kInternetTexts = {
        L"Modem으로 인터넷 사용중...", L"LAN으로 인터넷 사용중...", L"Proxy로 인터넷 사용중...",
        L"Modem을 다른 용도로 사용중", L"RAS가 설치되어 있음",      L"오프라인",
        L"인터넷 연결이 설정되었음",
    };
    static const std::vector<std::wstring> kHardwarePrefixes = {
        L"Hardware information: OEM ID: ",
        L"Number of processors: ",
        L"Page size: ",
        L"Processor type: ",
        L"Minimum application address: ",
        L"Maximum application address: ",
        L"Active processor mask: ",
    };
    auto text = [&](std::size_t i) { return i < boxes.size() ? boxes[i].text : std::wstring(); };
    auto fail = [&](std::size_t i, const std::string& expected) {
        throw Failure("message box " + std::to_string(i + 1) + " of " + std::to_string(boxes.size()) + " says \"" +
                      Printable(text(i)) + "\", expected " + expected);
    };

    // The Internet state as this machine answers it: one box per flag, in
    // the order of the flags, or one saying it cannot be checked.
    std::vector<std::wstring> internet;
    DWORD flags = 0;
    if (!::InternetGetConnectedState(&flags, 0))
        internet.emplace_back(L"검사할 수 없습니다");
    else
        for (std::size_t bit = 0; bit < kInternetTexts.size(); ++bit)
            if (flags & (1u << bit))
                internet.push_back(kInternetTexts[bit]);
    for (std::size_t k = 0; k < internet.size(); ++k)
        if (text(k) != internet[k])
            fail(k, "\"" + Utf8(internet[k]) + "\" (Internet state)");
    const std::size_t i = internet.size();

    // Two pieces of the display adapter's identifier when it has one, and
    // no failure boxes: both come before the hardware facts.
    std::size_t h = i;
    while (h < boxes.size() && !StartsWith(text(h), kHardwarePrefixes[0]))
        ++h;
    if (h == boxes.size())
        fail(i, "the hardware facts");
    if (h - i == 2) {
        for (std::size_t piece = i; piece < h; ++piece)
            if (text(piece).size() > 4)
                fail(piece, "a piece of the display adapter's identifier (four characters at most)");
    } else if (h != i) {
        fail(i, "the hardware facts (or two identifier pieces before them), not a failure");
    }

    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    for (std::size_t k = 0; k < kHardwarePrefixes.size(); ++k) {
        const std::wstring& line = text(h + k);
        if (!StartsWith(line, kHardwarePrefixes[k]) || line.back() != L'\n')
            fail(h + k, "\"" + Utf8(kHardwarePrefixes[k]) + "...\\n\"");
    }
    ExpectEqual(text(h + 1), kHardwarePrefixes[1] + std::to_wstring(system.dwNumberOfProcessors) + L"\n",
                "the processors box");
    ExpectEqual(text(h + 2), kHardwarePrefixes[2] + std::to_wstring(system.dwPageSize) + L"\n", "the page size box");

    const std::size_t clock = h + kHardwarePrefixes.size();
    if (!StartsWith(text(clock), L"Clock = ") || !IsWholeNumber(text(clock).substr(8)))
        fail(clock, "\"Clock = \" and a whole number");

    // The first display device, when there is one, as this machine names it.
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    const std::size_t expectedCount = ::EnumDisplayDevicesW(nullptr, 0, &device, 0) ? clock + 2 : clock + 1;
    if (boxes.size() != expectedCount)
        fail(clock + 1, std::to_string(expectedCount) + " boxes in all");
    if (expectedCount == clock + 2)
        ExpectEqual(text(clock + 1), device.DeviceString, "the display device box");
}

void CheckInfoWindow(const Program& program, HWND info)
{
    const std::wstring address = WindowText(FieldBeside(info, L"I.P"));
    // "0" is what the window shows when the host has no address.
    if (!IsDottedQuad(address) && address != L"0")
        throw Failure("the I.P field shows \"" + Printable(address) + "\"");

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ::GlobalMemoryStatusEx(&memory);
    const std::wstring total = WindowText(FieldBeside(info, L"ALLMEM"));
    ExpectEqual(total, std::to_wstring(memory.ullTotalPhys >> 20), "the ALLMEM field (MB)");
    // The window shows the platform's answer, and a 32-bit process may be told more
    // available than total memory (Wine under emulation does): compare the field with
    // what this process is told, allowing for what other programs took or freed since.
    const std::wstring available = WindowText(FieldBeside(info, L"ABLEMEM"));
    const double availableMb = static_cast<double>(memory.ullAvailPhys >> 20);
    if (!IsWholeNumber(available) || std::abs(std::stod(available) - availableMb) > 512 + availableMb / 4)
        throw Failure("the ABLEMEM field shows \"" + Printable(available) + "\" where this process is told " +
                      std::to_string(memory.ullAvailPhys >> 20) + " MB");

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(name, &size);
    ExpectEqual(WindowText(FieldBeside(info, L"ComName")), name, "the ComName field");
    wchar_t user[257] = {};
    size = 257;
    ::GetUserNameW(user, &size);
    ExpectEqual(WindowText(FieldBeside(info, L"UserName")), user, "the UserName field");
    Log("fields: I.P " + Utf8(address) + ", ALLMEM " + Utf8(total) + ", ABLEMEM " + Utf8(available) + ", ComName " +
        Utf8(name) + ", UserName " + Utf8(user));

    // The drive list is the list box at the top of the window.
    std::vector<HWND> listBoxes = ChildrenOfClass(info, L"ListBox");
    if (listBoxes.empty())
        throw Failure("the information window has no list box");
    const HWND drives = *std::min_element(listBoxes.begin(), listBoxes.end(),
                                          [](HWND a, HWND b) { return WindowRectOf(a).top < WindowRectOf(b).top; });
    const std::vector<std::wstring> letters = ListBoxItems(drives);
    std::vector<std::wstring> expected;
    const DWORD mask = ::GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit)
        if (mask & (1u << bit))
            expected.emplace_back(1, static_cast<wchar_t>(L'A' + bit));
    if (letters.empty() || letters != expected)
        throw Failure("the drive list shows " + Joined(letters) + ", expected " + Joined(expected));
    Log("drive list: " + Joined(letters));

    // A click on C fills the drive's details beside the list.
    const auto c = std::find(letters.begin(), letters.end(), L"C");
    if (c == letters.end())
        throw Failure("drive C is not in the drive list");
    RECT item{};
    if (Ask(drives, LB_GETITEMRECT, static_cast<WPARAM>(c - letters.begin()), reinterpret_cast<LPARAM>(&item)) ==
        LB_ERR)
        throw Failure("the drive list gives no rectangle for C");
    ClickRow(drives, item, false);
    wchar_t fileSystem[MAX_PATH + 1] = {};
    ::GetVolumeInformationW(L"C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1);
    const std::wstring expectedLine = std::wstring(L"File System : ") + fileSystem;
    HWND memo = nullptr;
    for (HWND edit : ChildrenOfClass(info, L"Edit"))
        if (::GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE)
            memo = edit;
    if (!memo)
        throw Failure("the information window has no drive details");
    const std::wstring details =
        *WaitUntil(program, "the details of drive C", kStepTimeoutMs, [&]() -> std::optional<std::wstring> {
            std::wstring shown = WindowText(memo);
            if (shown.find(expectedLine) == std::wstring::npos)
                return std::nullopt;
            return shown;
        });
    if (!StartsWith(details, L"Volum Name : "))
        throw Failure("the details of drive C read \"" + Printable(details) + "\"");
    Log("drive C details: " + Printable(details));
}

// The debugger output of the whole run: a line for each row of the typed
// folder's listing, and, after the main window closed, the path records
// made and released, one for each folder of the tree.
void CheckTrace(const std::vector<std::string>& lines)
{
    Log("debugger output: " + std::to_string(lines.size()) + " lines");
    for (const char* expected : {"file name : [notes.txt], file_size[17]", "file name : [보고서.txt], file_size[1234]"})
        if (std::find(lines.begin(), lines.end(), expected) == lines.end())
            throw Failure(std::string("no trace line \"") + expected + "\"");
    long made = -1;
    long released = -1;
    int records = 0;
    for (const std::string& line : lines)
        if (std::sscanf(line.c_str(), "path records: %ld made, %ld released", &made, &released) == 2)
            ++records;
    if (records != 1)
        throw Failure("the program told of its path records " + std::to_string(records) + " times");
    Log("path records: " + std::to_string(made) + " made, " + std::to_string(released) + " released");
    if (made < 3 || released != made)
        throw Failure("closing released " + std::to_string(released) + " of " + std::to_string(made) + " path records");
}

struct Arguments {
    std::wstring program;
    std::wstring pictures;
};

Arguments ReadArguments()
{
    std::vector<std::wstring> paths = PathArguments(2, "tamsaek_e2e_driver PROGRAM.exe PICTURE_FOLDER");
    return {paths[0], paths[1]};
}

void SavePicture(HWND window, const std::wstring& path)
{
    // The program paints whatever it was asked to before it answers this.
    Ask(window, WM_NULL);
    ::Sleep(300);
    const std::size_t colours = SaveWindowPicture(window, path);
    if (colours < 8)
        throw Failure("the picture " + Utf8(path) + " has " + std::to_string(colours) + " colours: no window on it");
    Log("picture: " + Utf8(path) + " (" + std::to_string(colours) + " colours)");
}

int Run()
{
    const Stopwatch total;
    // Coordinates and pictures in the screen's own pixels, as the program,
    // which knows its DPI, has them.
    ::SetProcessDPIAware();
    const Arguments arguments = ReadArguments();
    ::CreateDirectoryW(arguments.pictures.c_str(), nullptr);
    const std::wstring mainPicture = arguments.pictures + L"\\e2e-main.png";
    const std::wstring infoPicture = arguments.pictures + L"\\e2e-sysinfo.png";
    ::DeleteFileW(mainPicture.c_str());
    ::DeleteFileW(infoPicture.c_str());

    const Fixture fixture;
    // Listening before the program starts: it traces what it lists only
    // while someone listens, and its last line tells of its path records.
    DebugMonitor monitor;
    if (!monitor.Listening())
        throw Failure("cannot listen on the debugger output");
    Program program(arguments.program);
    Log("started " + Utf8(arguments.program));

    // 1. The main window, shown once the walk of drive C is done.
    Stopwatch step;
    const HWND main = WaitUntil(program, "the window \"윈도우탐색기\"", kShowTimeoutMs,
                                [&] { return program.Window(kMainTitle, WC_LISTVIEWW); });
    Log("time to window: " + step.Text());
    ExpectPlaced(main, "the main window");
    const HWND address = OnlyChild(main, L"Edit");
    const HWND go = OnlyChild(main, L"Button", kGoButton);
    const HWND infoButton = OnlyChild(main, L"Button", kInfoButton);
    const HWND list = OnlyChild(main, WC_LISTVIEWW);
    const HWND tree = OnlyChild(main, WC_TREEVIEWW);
    ExpectEqual(WindowText(address), L"C:\\", "the address bar at start");
    std::vector<std::wstring> rootRows;
    for (const Row& row : ListRows(program, list))
        rootRows.push_back(row.name);
    std::sort(rootRows.begin(), rootRows.end());
    if (rootRows != EntriesOf(L"C:\\"))
        throw Failure("the file list of C:\\ shows " + Joined(rootRows) + ", expected " + Joined(EntriesOf(L"C:\\")));
    Log("address bar \"C:\\\", " + std::to_string(rootRows.size()) + " rows: " + Joined(rootRows));

    // 2. A typed path, in other letter cases and without the final
    // backslash: the address bar then shows the folder's own path.
    step = Stopwatch();
    const std::wstring folderPath = kFolder + L"\\";
    TypeInto(address, L"c:\\TAMSAEK-E2E\\자료");
    Click(go);
    WaitUntil(program, "the address bar to show " + Utf8(folderPath), kStepTimeoutMs, [&] {
        return WindowText(address) == folderPath && ListRowCount(list) == static_cast<int>(kFolderRows.size());
    });
    ExpectRows(program, list, kFolderRows, Utf8(folderPath));
    ExpectEqual(TreeSelectionText(program.Process(), tree), L"자료", "the tree's selection");
    Log("바로가기: " + Utf8(folderPath) + " in " + step.Text() + ", rows " + Joined(ListRows(program, list)));
    SavePicture(main, mainPicture);

    // 3. A double-click on a folder row opens it.
    step = Stopwatch();
    const std::vector<Row> rows = ListRows(program, list);
    const auto folderRow =
        std::find_if(rows.begin(), rows.end(), [](const Row& row) { return row.name == kSubfolderName; });
    if (folderRow == rows.end())
        throw Failure("no row " + Utf8(kSubfolderName) + " to double-click");
    ClickRow(list, ListRowNameRect(program.Process(), list, static_cast<int>(folderRow - rows.begin())), true);
    const std::wstring subfolderPath = kSubfolder + L"\\";
    WaitUntil(program, "the address bar to show " + Utf8(subfolderPath) + " after the double-click", kStepTimeoutMs,
              [&] { return WindowText(address) == subfolderPath; });
    ExpectRows(program, list, kSubfolderRows, Utf8(subfolderPath));
    ExpectEqual(TreeSelectionText(program.Process(), tree), kSubfolderName, "the tree's selection");
    Log("double-click: " + Utf8(subfolderPath) + " in " + step.Text());

    // 4. A path that names no folder is refused with a message. It comes
    // last here: a double-click joins the row's name to the address bar.
    step = Stopwatch();
    TypeInto(address, kFixtureRoot + L"\\없는폴더");
    Click(go);
    const HWND refusal = WaitUntil(
        program, "the message \"알맞은 경로가 아닙니다.\"", kStepTimeoutMs,
        [&] {
            const std::vector<HWND> boxes = program.Boxes();
            return boxes.empty() ? HWND{} : boxes.front();
        },
        true);
    const SeenBox refused = Dismiss(program, refusal);
    ExpectEqual(refused.text, kNotAFolder, "the message box for a missing path");
    ExpectRows(program, list, kSubfolderRows, "a refused path (unchanged)");
    Log("missing path: box \"" + Utf8(refused.text) + "\" (caption \"" + Utf8(refused.caption) + "\") dismissed in " +
        step.Text());

    // 5. The information window, after its message boxes.
    step = Stopwatch();
    Click(infoButton);
    std::vector<SeenBox> boxes;
    const HWND info = WaitUntil(
        program, "the window \"시스템정보\"", kInfoTimeoutMs,
        [&]() -> HWND {
            const std::vector<HWND> open = program.Boxes();
            if (!open.empty()) {
                boxes.push_back(Dismiss(program, open.front()));
                Log("box " + std::to_string(boxes.size()) + " at " + step.Text() + ": \"" +
                    Printable(boxes.back().text) + "\"");
                return nullptr;
            }
            return program.Window(kInfoTitle, L"ListBox");
        },
        true);
    Log("message boxes before the information window: " + std::to_string(boxes.size()) + ", window after " +
        step.Text());
    CheckInfoBoxes(boxes);
    CheckInfoWindow(program, info);
    ExpectPlaced(info, "the information window");
    SavePicture(info, infoPicture);
    step = Stopwatch();
    ::PostMessageW(info, WM_CLOSE, 0, 0);
    WaitUntil(program, "the information window to close and the main window to take input again", kStepTimeoutMs,
              [&] { return !program.Window(kInfoTitle, L"ListBox") && ::IsWindowEnabled(main); });
    Log("information window closed in " + step.Text());

    // 6. Closing the main window ends the program.
    step = Stopwatch();
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    WaitUntil(program, "the program to exit", kExitTimeoutMs, [&] { return !program.Running(); });
    const DWORD code = program.ExitCode();
    Log("exit code " + std::to_string(code) + " " + step.Text() + " after WM_CLOSE");
    if (code != 0)
        throw Failure("the program exited with code " + std::to_string(code));
    CheckTrace(monitor.Lines(program.Id()));
    Log("total: " + total.Text() + ", message boxes seen: " + std::to_string(boxes.size() + 1) + " (" +
        std::to_string(boxes.size()) + " before the information window, 1 for the missing path)");
    return 0;
}

} // namespace

int main()
{
    try {
        const int code = Run();
        Log("passed");
        return code;
    } catch (const std::exception& e) {
        Log(std::string("FAILED: ") + e.what());
        return 1;
    }
}
