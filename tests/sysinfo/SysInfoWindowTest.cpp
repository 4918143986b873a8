// The information window built in-process, as a click builds it: its
// start-up boxes recorded, then its fields, lists and handlers inspected.
// Windows and a second copy of this program are made first, so that the
// window's lists have known entries to find.
#include "platform/UniqueHandle.h"
#include "sysinfo/DriveText.h"
#include "sysinfo/NetworkText.h"
#include "sysinfo/ReportText.h"
#include "sysinfo/SysInfoTest.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageRecorder.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <winsock2.h>
#include <windows.h>

#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <memory>
#include <regex>

namespace {

const String kTwin = "tamsaek-probe twin";
const String kLongTitle = "tamsaek-probe long " + String(281, 'x');   // 300 bytes
const String kHangulTitle = [] {
    String title = "tamsaek-probe 한글";
    while (title.size() < 300)
        title += "가";
    return title;
}();

// A top-level window of the test's own, destroyed with its owner.
class ProbeWindow {
public:
    ProbeWindow(const String& title, DWORD style, DWORD exStyle, bool show)
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TamsaekProbe";
        ::RegisterClassExW(&wc); // fails harmlessly once registered
        hwnd_ = ::CreateWindowExW(exStyle, L"TamsaekProbe", Widen(title).c_str(), style, 0, 0, 160, 90, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        if (show)
            ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~ProbeWindow() { ::DestroyWindow(hwnd_); }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// A second copy of this program, held suspended while the window is built.
class SecondCopy {
public:
    SecondCopy()
    {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(path) + L"\" --gtest_list_tests";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(path, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                             &startup, &info)) {
            process_.Reset(info.hProcess);
            thread_.Reset(info.hThread);
        }
    }
    ~SecondCopy()
    {
        if (process_) {
            ::TerminateProcess(process_.Get(), 0);
            ::WaitForSingleObject(process_.Get(), 5000);
        }
    }
    bool Running() const { return static_cast<bool>(process_); }

private:
    platform::Handle process_;
    platform::Handle thread_;
};

std::vector<String> Items(const TListBox& list)
{
    std::vector<String> items;
    for (int i = 0; i < list.Items.Count(); ++i)
        items.push_back(list.Items[i]);
    return items;
}

std::vector<String> MemoLines(const TMemo& memo)
{
    std::vector<String> lines;
    for (int i = 0; i < memo.Lines.Count(); ++i)
        lines.push_back(memo.Lines[i]);
    return lines;
}

long Occurrences(const std::vector<String>& items, const String& item)
{
    return static_cast<long>(std::count(items.begin(), items.end(), item));
}

RECT BoundsInParent(HWND hwnd)
{
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

String ExecutableName()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return Narrow(full.substr(full.find_last_of(L"\\/") + 1));
}

bool TestDrivesMapped()
{
    wchar_t label[MAX_PATH + 1] = {};
    return (::GetLogicalDrives() & (1u << ('M' - 'A'))) &&
           ::GetVolumeInformationW(L"M:\\", label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
           Narrow(label) == "TAMSAEK";
}

class SysInfoWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        probes_ = new std::vector<std::unique_ptr<ProbeWindow>>;
        const DWORD framed = WS_OVERLAPPEDWINDOW;
        auto probe = [](const String& title, DWORD style, DWORD exStyle, bool show) {
            probes_->push_back(std::make_unique<ProbeWindow>(title, style, exStyle, show));
        };
        probe("tamsaek-probe listed", framed, 0, true);
        probe("", framed, 0, true);
        probe("tamsaek-probe hidden", framed, 0, false);
        probe("tamsaek-probe popup", WS_POPUP, 0, true);
        probe("tamsaek-probe control parent", framed, WS_EX_CONTROLPARENT, true);
        probe("tamsaek-probe tool", framed, WS_EX_TOOLWINDOW, true);
        probe(kTwin, framed, 0, true);
        probe(kTwin, framed, 0, true);
        probe(kLongTitle, framed, 0, true);
        probe(kHangulTitle, framed, 0, true);
        secondCopy_ = new SecondCopy;

        RecordedMessages().clear();
        window_ = new TSysInfoTest(Application);
        boxes_ = new std::vector<RecordedMessage>(RecordedMessages());
        RecordedMessages().clear();
    }

    static void TearDownTestSuite()
    {
        delete window_;
        window_ = nullptr;
        delete secondCopy_;
        secondCopy_ = nullptr;
        delete probes_;
        probes_ = nullptr;
        delete boxes_;
        boxes_ = nullptr;
    }

    TSysInfoTest& Window() { return *window_; }
    const std::vector<RecordedMessage>& Boxes() { return *boxes_; }

    void Select(const String& letter)
    {
        const std::vector<String> items = Items(*Window().ShowDriverList);
        const auto found = std::find(items.begin(), items.end(), letter);
        ASSERT_NE(found, items.end()) << letter;
        Window().ShowDriverList->SetItemIndex(static_cast<int>(found - items.begin()));
        // As a click does: the list tells its window that the selection changed.
        HWND list = Window().ShowDriverList->Handle();
        ::SendMessageW(::GetParent(list), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }

    static inline TSysInfoTest* window_ = nullptr;
    static inline std::vector<RecordedMessage>* boxes_ = nullptr;
    static inline std::vector<std::unique_ptr<ProbeWindow>>* probes_ = nullptr;
    static inline SecondCopy* secondCopy_ = nullptr;
};

TEST_F(SysInfoWindowTest, StartUpBoxesComeInTheirOrder)
{
    std::vector<String> expected;
    DWORD flags = 0;
    const bool queried = ::InternetGetConnectedState(&flags, 0);
    for (const String& text : InternetStateTexts(queried, flags))
        expected.push_back(text);
    DISPLAY_DEVICEA device{};
    device.cb = sizeof device;
    for (DWORD index = 0; ::EnumDisplayDevicesA(nullptr, index, &device, 0); ++index)
        if (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) {
            const IdentifierPieces pieces = SplitDisplayIdentifier(device.DeviceID);
            expected.push_back(pieces.first);
            expected.push_back(pieces.second);
            break;
        }
    // The seven lines written out here, not through the window's own formatter.
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    auto hex = [](const void* address) {
        char text[32];
        std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
        return String(text);
    };
    expected.push_back("Hardware information: OEM ID: " + std::to_string(info.dwOemId) + "\n");
    expected.push_back("Number of processors: " + std::to_string(info.dwNumberOfProcessors) + "\n");
    expected.push_back("Page size: " + std::to_string(info.dwPageSize) + "\n");
    expected.push_back("Processor type: " + std::to_string(info.dwProcessorType) + "\n");
    expected.push_back("Minimum application address: " + hex(info.lpMinimumApplicationAddress) + "\n");
    expected.push_back("Maximum application address: " + hex(info.lpMaximumApplicationAddress) + "\n");
    expected.push_back("Active processor mask: " + std::to_string(info.dwActiveProcessorMask) + "\n");
    const std::size_t clockAt = expected.size();
    expected.push_back("<clock>");
    ASSERT_TRUE(::EnumDisplayDevicesA(nullptr, 0, &device, 0));
    expected.push_back(device.DeviceString);

    std::vector<String> texts;
    for (const RecordedMessage& box : Boxes()) {
        EXPECT_EQ(box.kind, MessageKind::Message) << box.text;
        texts.push_back(box.text);
    }
    ASSERT_EQ(texts.size(), expected.size()) << "no failure box and nothing missing";
    EXPECT_TRUE(std::regex_match(texts[clockAt], std::regex("Clock = [1-9][0-9]*"))) << texts[clockAt];
    texts[clockAt] = "<clock>";
    EXPECT_EQ(texts, expected);

    if (RunningUnderWine()) {
        // What this platform is known to answer.
        EXPECT_EQ(texts[0], "LAN으로 인터넷 사용중...");
        EXPECT_EQ(texts[1], "RAS가 설치되어 있음");
        EXPECT_EQ(texts[2], "_000");
        EXPECT_EQ(texts[3], "_000");
        EXPECT_EQ(texts[6], "Page size: 4096\n");
        EXPECT_EQ(texts.back(), "Wine Adapter");
    }
}

TEST_F(SysInfoWindowTest, FieldsHoldAddressMemoryAndNames)
{
    const String address = Window().IPAddr->Text();
    EXPECT_TRUE(address == "0" || std::regex_match(address, std::regex(R"(\d{1,3}(\.\d{1,3}){3})"))) << address;
    if (RunningUnderWine()) {
        EXPECT_NE(address, "0") << "Wine resolves its own host name";
    }

    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(Window().MemField->Text(), std::to_string(memory.ullTotalPhys >> 20));
    const String available = Window().AbleMemField->Text();
    ASSERT_TRUE(std::regex_match(available, std::regex("[0-9]+"))) << available;
    // Not "at most the total": a 32-bit process may be told more available than total
    // memory (Wine under emulation does), and the window shows what it is told.
    const double availableMb = static_cast<double>(memory.ullAvailPhys >> 20);
    EXPECT_NEAR(std::stod(available), availableMb, 512 + availableMb / 4);

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(name, &size));
    EXPECT_EQ(Window().ComNameEdit->Text(), Narrow(name));
    wchar_t user[257] = {};
    size = 257;
    ASSERT_TRUE(::GetUserNameW(user, &size));
    EXPECT_EQ(Window().UserNameEdit->Text(), Narrow(user));

    EXPECT_EQ(Window().TimeEdit->Text(), "") << "empty until the first tick";
    EXPECT_FALSE(::IsWindowVisible(Window().Handle())) << "not shown before the click shows it";
}

TEST_F(SysInfoWindowTest, LayoutIsLoadedAsStored)
{
    TSysInfoTest& w = Window();
    wchar_t caption[32] = {};
    ::GetWindowTextW(w.Handle(), caption, 32);
    EXPECT_EQ(Narrow(caption), "시스템정보");
    RECT frame;
    ::GetWindowRect(w.Handle(), &frame);
    EXPECT_EQ(frame.left, 120);
    EXPECT_EQ(frame.top, 117);
    EXPECT_EQ(frame.right - frame.left, 1032);
    EXPECT_EQ(frame.bottom - frame.top, 834);

    struct Expected {
        TControl* control;
        const char* text;
        RECT bounds; // left, top, right, bottom
    };
    const Expected controls[] = {
        {w.Label1, "I.P", {24, 8, 43, 28}},           {w.Label2, "ALLMEM", {8, 40, 74, 60}},
        {w.Label3, "ABLEMEM", {8, 80, 87, 100}},      {w.Label4, "ComName", {0, 128, 75, 148}},
        {w.Label5, "UserName", {0, 176, 76, 196}},    {w.IPAddr, nullptr, {96, 8, 209, 36}},
        {w.MemField, nullptr, {96, 40, 137, 68}},     {w.AbleMemField, nullptr, {96, 80, 137, 108}},
        {w.ComNameEdit, nullptr, {96, 128, 249, 156}}, {w.UserNameEdit, nullptr, {96, 176, 249, 204}},
        {w.TimeEdit, nullptr, {848, 776, 977, 804}},  {w.ShowDriverList, nullptr, {624, 0, 713, 105}},
        {w.ShowDriverMemo, nullptr, {712, 0, 865, 217}}, {w.ListBox1, nullptr, {24, 256, 457, 769}},
        {w.ListBox2, nullptr, {496, 256, 1017, 769}},
    };
    for (const Expected& e : controls) {
        const RECT r = BoundsInParent(e.control->Handle());
        EXPECT_EQ(r.left, e.bounds.left) << e.control->Name();
        EXPECT_EQ(r.top, e.bounds.top) << e.control->Name();
        if (e.text) {
            // Labels size themselves: they may grow to their text, never shrink.
            EXPECT_GE(r.right, e.bounds.right) << e.control->Name();
            EXPECT_GE(r.bottom, e.bounds.bottom) << e.control->Name();
            EXPECT_EQ(e.control->Text(), e.text);
        } else {
            EXPECT_EQ(r.right, e.bounds.right) << e.control->Name();
            EXPECT_EQ(r.bottom, e.bounds.bottom) << e.control->Name();
        }
    }
    EXPECT_EQ(::GetWindowLongW(w.Label1->Handle(), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);

    // Every control draws with the window's font: MS Sans Serif, 16 pixels.
    EXPECT_EQ(w.Font().name, "MS Sans Serif");
    EXPECT_EQ(w.Font().height, -16);
    EXPECT_NE(w.Label1->FontHandle(), w.Label2->FontHandle()) << "the label with a font of its own";
    for (HWND hwnd : {w.Label1->Handle(), w.Label2->Handle(), w.IPAddr->Handle(), w.ShowDriverMemo->Handle(),
                      w.ListBox2->Handle()}) {
        LOGFONTW font{};
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_EQ(font.lfHeight, -16);
        EXPECT_EQ(Narrow(font.lfFaceName), "MS Sans Serif");
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
    }

    for (TListBox* list : {w.ShowDriverList, w.ListBox1, w.ListBox2})
        EXPECT_EQ(::SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 20) << list->Name();
    EXPECT_EQ(MemoLines(*w.ShowDriverMemo), std::vector<String>{"ShowDriverMemo"});
    for (TEdit* edit : {w.IPAddr, w.MemField, w.AbleMemField, w.ComNameEdit, w.UserNameEdit, w.TimeEdit})
        EXPECT_FALSE(::GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY) << edit->Name();
    EXPECT_TRUE(w.SysTimer->Enabled());
    EXPECT_EQ(w.SysTimer->Interval(), 1000u);

    // Tab order: the edits, the drive list and memo, the two long lists.
    const TControl* order[] = {w.IPAddr,         w.MemField,       w.AbleMemField, w.ComNameEdit,
                               w.UserNameEdit,   w.TimeEdit,       w.ShowDriverList, w.ShowDriverMemo,
                               w.ListBox1,       w.ListBox2};
    HWND child = ::GetWindow(w.Handle(), GW_CHILD);
    for (const TControl* control : order) {
        EXPECT_EQ(child, control->Handle()) << control->Name();
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
}

TEST_F(SysInfoWindowTest, DriveListHoldsTheLettersInAscendingOrder)
{
    const std::vector<String> items = Items(*Window().ShowDriverList);
    std::vector<String> expected;
    const DWORD mask = ::GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (mask & (1u << (letter - 'A')))
            expected.emplace_back(1, letter);
    EXPECT_EQ(items, expected);
    EXPECT_NE(std::find(items.begin(), items.end(), "C"), items.end());
    if (TestDrivesMapped()) {
        for (const char* mapped : {"M", "N", "Q"})
            EXPECT_NE(std::find(items.begin(), items.end(), mapped), items.end()) << mapped;
    }
}

TEST_F(SysInfoWindowTest, ClickingAMappedDriveShowsItsSixLines)
{
    if (!TestDrivesMapped())
        GTEST_SKIP() << "drives M, N and Q are mapped by tests/fixtures/test-drives.sh";
    Select("M");
    std::vector<String> lines = MemoLines(*Window().ShowDriverMemo);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Volum Name : TAMSAEK");
    EXPECT_EQ(lines[1], "Volum Serial : 0000ABCD");
    EXPECT_EQ(lines[2], "File System : NTFS");
    EXPECT_EQ(lines[3], "Drive Type : Hard Drive");
    EXPECT_TRUE(std::regex_match(lines[4], std::regex("Free Space : [0-9]+ KB"))) << lines[4];
    EXPECT_EQ(lines[5], "Total Space : " + std::to_string(DiskSize(13) >> 10) + " KB");

    Select("N");
    lines = MemoLines(*Window().ShowDriverMemo);
    ASSERT_EQ(lines.size(), 6u) << "each click replaces the lines";
    EXPECT_EQ(lines[0], "Volum Name : ");
    EXPECT_EQ(lines[1], "Volum Serial : FFFFFFFF");
    EXPECT_EQ(lines[3], "Drive Type : CD-ROM Drive");

    Select("N");
    std::vector<String> again = MemoLines(*Window().ShowDriverMemo);
    ASSERT_EQ(again.size(), 6u) << "the same drive twice: six lines, not twelve";
    // The host's free space moves between two queries.
    again[4] = lines[4];
    EXPECT_EQ(again, lines);

    Select("Q");
    lines = MemoLines(*Window().ShowDriverMemo);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "Drive Type : (Not Available)");
    EXPECT_EQ(lines[4], "Free Space : -1 KB");
    EXPECT_EQ(lines[5], "Total Space : -1 KB");
}

TEST_F(SysInfoWindowTest, ADriveThatIsGoneStillGetsSixLines)
{
    const DWORD mask = ::GetLogicalDrives();
    char gone = 0;
    for (char letter = 'Y'; letter > 'A' && !gone; --letter)
        if (!(mask & (1u << (letter - 'A'))))
            gone = letter;
    ASSERT_NE(gone, 0);
    Window().ShowDriverList->Items.Add(String(1, gone));
    Select(String(1, gone));
    EXPECT_EQ(MemoLines(*Window().ShowDriverMemo),
              (std::vector<String>{"Volum Name : ", "Volum Serial : 00000000", "File System : ",
                                   "Drive Type : (Not Available)", "Free Space : -1 KB", "Total Space : -1 KB"}));

    // An item that names no drive leaves the memo as it was.
    const std::vector<String> before = MemoLines(*Window().ShowDriverMemo);
    Window().ShowDriverList->Items.Add("?");
    Select("?");
    EXPECT_EQ(MemoLines(*Window().ShowDriverMemo), before);
    EXPECT_TRUE(RecordedMessages().empty()) << "the drive path shows no box";
}

TEST_F(SysInfoWindowTest, WindowListTakesOnlyVisibleCaptionedTopLevelWindows)
{
    const std::vector<String> titles = Items(*Window().ListBox1);
    EXPECT_EQ(Occurrences(titles, "tamsaek-probe listed"), 1);
    EXPECT_EQ(Occurrences(titles, "tamsaek-probe tool"), 1) << "tool windows are not told apart";
    EXPECT_EQ(Occurrences(titles, kTwin), 2) << "equal titles stay";
    EXPECT_EQ(Occurrences(titles, "tamsaek-probe hidden"), 0);
    EXPECT_EQ(Occurrences(titles, "tamsaek-probe popup"), 0);
    EXPECT_EQ(Occurrences(titles, "tamsaek-probe control parent"), 0);
    EXPECT_EQ(Occurrences(titles, ""), 0);
    EXPECT_EQ(Occurrences(titles, "시스템정보"), 0) << "the window is not shown while it lists";
    EXPECT_EQ(Occurrences(titles, kLongTitle.substr(0, 255)), 1);
    // 14 + 6 bytes, then three-byte characters: 78 of them fit in 255 bytes.
    EXPECT_EQ(Occurrences(titles, kHangulTitle.substr(0, 254)), 1);
}

TEST_F(SysInfoWindowTest, ProcessListHoldsThisProgramOncePerRunningCopy)
{
    ASSERT_TRUE(secondCopy_->Running());
    const std::vector<String> names = Items(*Window().ListBox2);
    EXPECT_EQ(Occurrences(names, ExecutableName()), 2) << ExecutableName();
    if (RunningUnderWine()) {
        EXPECT_GE(Occurrences(names, "explorer.exe"), 1);
    }
}

TEST_F(SysInfoWindowTest, ClockShowsTheCurrentTimeOnceTheTimerTicks)
{
    const ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start < 3000) {
        ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    const String shown = Window().TimeEdit->Text();
    ASSERT_FALSE(shown.empty()) << "the timer ticked";
    // The last tick came less than a second ago.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const TDateTime current = SystemTimeToDateTime(now);
    const TDateTime oneSecond = 1.0 / 86'400;
    EXPECT_TRUE(shown == TimeToStr(current) || shown == TimeToStr(current - oneSecond) ||
                shown == TimeToStr(current - 2 * oneSecond))
        << shown;
    EXPECT_EQ(shown.find(std::to_string(now.wYear)), String::npos) << "never a date";
}

} // namespace
