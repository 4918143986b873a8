// The information window built in-process, as a click builds it: its
// start-up boxes recorded, then its fields, lists and handlers inspected.
// Windows and a second copy of this program are made first, so that the
// window's lists have known entries to find.
#include "sysinfo/SysInfoWindow.h"

#include "base/WideText.h"
#include "platform/UniqueHandle.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/PrimaryAdapter.h"
#include "tests/support/TextFit.h"
#include "ui/Application.h"

#include <windows.h>
#include <winsock2.h>

#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <regex>

namespace {

const String kTwin = "tamsaek-probe twin";
const String kLongTitle = "tamsaek-probe long " + String(281, 'x'); // 300 bytes
String Repeat(const char* piece, int times)
{
    String text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Titles are kept as 255 bytes of code page 949 hold them: ASCII one byte,
// any other character two.
const String kHangulTitle = String("tamsaek-probe 한글") + Repeat("가", 200);
const String kExactTitle = "tamsaek-probe exact " + String(235, 'x'); // 255 bytes
// Characters outside the Basic Multilingual Plane: two UTF-16 units each.
const String kSurrogateTitle = String("tamsaek-probe 𝄞") + Repeat("😀", 200);

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
        probe(kExactTitle, framed, 0, true);
        probe(kSurrogateTitle, framed, 0, true);
        secondCopy_ = new SecondCopy;
    }

    static void TearDownTestSuite()
    {
        delete secondCopy_;
        secondCopy_ = nullptr;
        delete probes_;
        probes_ = nullptr;
    }

    // Every case gets a window as a click builds it: cases select drives,
    // add items and let the clock tick, and the suite shares one process.
    void SetUp() override
    {
        RecordedMessages().clear();
        window_ = std::make_unique<TSysInfoTest>(Application);
        boxes_ = RecordedMessages();
        RecordedMessages().clear();
    }

    void TearDown() override { window_.reset(); }

    TSysInfoTest& Window() { return *window_; }
    const std::vector<RecordedMessage>& Boxes() { return boxes_; }

    void Select(const String& letter)
    {
        const std::vector<String> items = Items(*Window().ShowDriverList);
        const auto found = std::find(items.begin(), items.end(), letter);
        ASSERT_NE(found, items.end()) << letter;
        Window().ShowDriverList->SetItemIndex(static_cast<int>(found - items.begin()));
        // As a click does: the list tells its window that the selection changed.
        HWND list = Window().ShowDriverList->Handle();
        ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }

    std::unique_ptr<TSysInfoTest> window_;
    std::vector<RecordedMessage> boxes_;
    static inline std::vector<std::unique_ptr<ProbeWindow>>* probes_ = nullptr;
    static inline SecondCopy* secondCopy_ = nullptr;
};

// What the connection state's flags are shown as, by the platform's names.
std::vector<String> ExpectedInternetBoxes()
{
    DWORD flags = 0;
    if (!::InternetGetConnectedState(&flags, 0))
        return {"검사할 수 없습니다"};
    const std::pair<DWORD, const char*> texts[] = {
        {INTERNET_CONNECTION_MODEM, "Modem으로 인터넷 사용중..."},
        {INTERNET_CONNECTION_LAN, "LAN으로 인터넷 사용중..."},
        {INTERNET_CONNECTION_PROXY, "Proxy로 인터넷 사용중..."},
        {INTERNET_CONNECTION_MODEM_BUSY, "Modem을 다른 용도로 사용중"},
        {INTERNET_RAS_INSTALLED, "RAS가 설치되어 있음"},
        {INTERNET_CONNECTION_OFFLINE, "오프라인"},
        {INTERNET_CONNECTION_CONFIGURED, "인터넷 연결이 설정되었음"},
    };
    std::vector<String> boxes;
    for (const auto& [flag, text] : texts)
        if (flags & flag)
            boxes.push_back(text);
    return boxes;
}

// The two boxes made of the primary adapter's identifier: four characters
// from the 8th and from the 17th.
std::vector<String> ExpectedIdentifierBoxes()
{
    const std::optional<String> id = PrimaryAdapterIdentifier();
    if (!id)
        return {"<no primary adapter>"};
    if (id->empty())
        return {};
    auto piece = [&](std::size_t from) { return id->size() > from ? id->substr(from, 4) : String(); };
    return {piece(7), piece(16)};
}

// The seven hardware lines, written out here, not through the window's own formatter.
std::vector<String> ExpectedHardwareBoxes()
{
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    auto hex = [](const void* address) {
        char text[32];
        std::snprintf(text, sizeof text, "%llx",
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
        return String(text);
    };
    return {
        "Hardware information: OEM ID: " + std::to_string(info.dwOemId) + "\n",
        "Number of processors: " + std::to_string(info.dwNumberOfProcessors) + "\n",
        "Page size: " + std::to_string(info.dwPageSize) + "\n",
        "Processor type: " + std::to_string(info.dwProcessorType) + "\n",
        "Minimum application address: " + hex(info.lpMinimumApplicationAddress) + "\n",
        "Maximum application address: " + hex(info.lpMaximumApplicationAddress) + "\n",
        "Active processor mask: " + std::to_string(info.dwActiveProcessorMask) + "\n",
    };
}

String FirstDisplayDeviceText()
{
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    return ::EnumDisplayDevicesW(nullptr, 0, &device, 0) ? Narrow(device.DeviceString) : String("<none>");
}

std::vector<String> Texts(const std::vector<RecordedMessage>& boxes)
{
    std::vector<String> texts;
    for (const RecordedMessage& box : boxes)
        texts.push_back(std::regex_match(box.text, std::regex("Clock = [1-9][0-9]*")) ? String("<clock>") : box.text);
    return texts;
}

TEST_F(SysInfoWindowTest, StartUpBoxesComeInTheirOrder)
{
    std::vector<String> expected = ExpectedInternetBoxes();
    for (const std::vector<String>& more : {ExpectedIdentifierBoxes(), ExpectedHardwareBoxes()})
        expected.insert(expected.end(), more.begin(), more.end());
    expected.push_back("<clock>");
    expected.push_back(FirstDisplayDeviceText());

    for (const RecordedMessage& box : Boxes())
        EXPECT_EQ(box.kind, MessageKind::Message) << box.text;
    const std::vector<String> texts = Texts(Boxes());
    EXPECT_EQ(texts, expected) << "no failure box and nothing missing";

    if (RunningUnderWine()) {
        // What this platform is known to answer.
        ASSERT_EQ(texts.size(), 13u);
        EXPECT_EQ(texts[0], "LAN으로 인터넷 사용중...");
        EXPECT_EQ(texts[1], "RAS가 설치되어 있음");
        EXPECT_EQ(texts[2], "_000");
        EXPECT_EQ(texts[3], "_000");
        EXPECT_EQ(texts[6], "Page size: 4096\n");
        EXPECT_EQ(texts.back(), "Wine Adapter");
    }
}

TEST_F(SysInfoWindowTest, AStepThatFailsIsReportedAndTheNextStepsStillRun)
{
    // Boxes that fail when shown make the connection step and the system
    // report step fail halfway.
    const String firstInternetBox = ExpectedInternetBoxes().front();
    const String pageSize = ExpectedHardwareBoxes()[2];
    std::vector<RecordedMessage> boxes;
    const MessageSink recorder = SetMessageSink([&](MessageKind kind, const String& text) {
        boxes.push_back({kind, text});
        if (kind == MessageKind::Message && (text == firstInternetBox || text == pageSize))
            throw Exception("box failed: " + text);
    });
    std::unique_ptr<TSysInfoTest> window;
    try {
        window = std::make_unique<TSysInfoTest>(Application);
    } catch (...) {
        SetMessageSink(recorder);
        FAIL() << "a failing step escaped the window's start-up";
    }
    SetMessageSink(recorder);

    std::vector<RecordedMessage> expected{{MessageKind::Message, firstInternetBox},
                                          {MessageKind::Error, "box failed: " + firstInternetBox}};
    for (const String& text : ExpectedIdentifierBoxes())
        expected.push_back({MessageKind::Message, text});
    const std::vector<String> hardware = ExpectedHardwareBoxes();
    for (std::size_t i = 0; i < 3; ++i)
        expected.push_back({MessageKind::Message, hardware[i]});
    expected.push_back({MessageKind::Error, "box failed: " + pageSize});
    expected.push_back({MessageKind::Message, FirstDisplayDeviceText()});
    EXPECT_EQ(boxes, expected);

    EXPECT_EQ(window->MemField->Text(), Window().MemField->Text()) << "the step after the first failure ran";
    EXPECT_EQ(Items(*window->ShowDriverList), Items(*Window().ShowDriverList));
    EXPECT_EQ(Occurrences(Items(*window->ListBox1), "tamsaek-probe listed"), 1);
    EXPECT_EQ(Occurrences(Items(*window->ListBox2), ExecutableName()), 2);
}

TEST_F(SysInfoWindowTest, FieldsHoldAddressMemoryAndNames)
{
    const String address = Window().IPAddr->Text();
    EXPECT_TRUE(address == "0" || std::regex_match(address, std::regex(R"(\d{1,3}(\.\d{1,3}){3})"))) << address;
    if (RunningUnderWine()) {
        EXPECT_NE(address, "0") << "Wine resolves its own host name";
    }

    // Whole mebibytes as the platform answers them. The available figure moves
    // and may exceed the total a 32-bit process is told (Wine under emulation
    // does): it is compared with what this process is told, not with the total.
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(Window().MemField->Text(), std::to_string(memory.ullTotalPhys / (1024 * 1024)));
    const String available = Window().AbleMemField->Text();
    EXPECT_TRUE(std::regex_match(available, std::regex("[1-9][0-9]*"))) << available;
    const double availableMb = static_cast<double>(memory.ullAvailPhys / (1024 * 1024));
    EXPECT_NEAR(std::stod(available), availableMb, 512 + availableMb / 4);

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(::GetComputerNameW(name, &size));
    EXPECT_EQ(Window().ComNameEdit->Text(), Narrow(name));
    wchar_t user[257] = {};
    size = 257;
    ASSERT_TRUE(::GetUserNameW(user, &size));
    EXPECT_EQ(Window().UserNameEdit->Text(), Narrow(user));

    for (TEdit* figures : {Window().IPAddr, Window().MemField, Window().AbleMemField})
        EXPECT_TRUE(ShowsWholeText(figures->Handle())) << figures->Name();

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
    // The client area the controls were placed in, whatever frame the
    // platform draws around it.
    RECT client;
    ::GetClientRect(w.Handle(), &client);
    EXPECT_EQ(client.right, 1024);
    EXPECT_EQ(client.bottom, 807);

    struct Expected {
        TControl* control;
        const char* text; // labels only
        RECT bounds;      // left, top, right, bottom
    };
    const Expected controls[] = {
        {w.Label1, "I.P", {24, 8, 43, 28}},
        {w.Label2, "ALLMEM", {8, 40, 74, 60}},
        {w.Label3, "ABLEMEM", {8, 80, 87, 100}},
        {w.Label4, "ComName", {0, 128, 75, 148}},
        {w.Label5, "UserName", {0, 176, 76, 196}},
        {w.IPAddr, nullptr, {96, 8, 209, 36}},
        {w.MemField, nullptr, {96, 40, 137, 68}},
        {w.AbleMemField, nullptr, {96, 80, 137, 108}},
        {w.ComNameEdit, nullptr, {96, 128, 249, 156}},
        {w.UserNameEdit, nullptr, {96, 176, 249, 204}},
        {w.TimeEdit, nullptr, {848, 776, 977, 804}},
        {w.ShowDriverList, nullptr, {624, 0, 713, 105}},
        {w.ShowDriverMemo, nullptr, {712, 0, 865, 217}},
        {w.ListBox1, nullptr, {24, 256, 457, 769}},
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
        } else if (e.control == w.IPAddr || e.control == w.MemField || e.control == w.AbleMemField) {
            // The fields of figures grow to the right to their text.
            EXPECT_GE(r.right, e.bounds.right) << e.control->Name();
            EXPECT_EQ(r.bottom, e.bounds.bottom) << e.control->Name();
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
        EXPECT_EQ(font.lfCharSet, HANGEUL_CHARSET) << "what the default character set meant where it was made";
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
    const TControl* order[] = {w.IPAddr,   w.MemField,       w.AbleMemField,   w.ComNameEdit, w.UserNameEdit,
                               w.TimeEdit, w.ShowDriverList, w.ShowDriverMemo, w.ListBox1,    w.ListBox2};
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
    ULARGE_INTEGER total{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"M:\\", nullptr, &total, nullptr));
    EXPECT_EQ(lines[5], "Total Space : " + std::to_string(total.QuadPart / 1024) + " KB");

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
    // 14 + 2 * 2 bytes, then 118 syllables of two bytes: 254 of 255.
    EXPECT_EQ(Occurrences(titles, String("tamsaek-probe 한글") + Repeat("가", 118)), 1);
    EXPECT_EQ(Occurrences(titles, kExactTitle), 1) << "255 bytes are kept whole";
    // 14 + 2 bytes, then 119 more characters of two: 254 of 255.
    EXPECT_EQ(Occurrences(titles, String("tamsaek-probe 𝄞") + Repeat("😀", 119)), 1);
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

// The time of day `secondsAgo` before `now` in the user's long time format.
String LongTimeText(const SYSTEMTIME& now, int secondsAgo)
{
    FILETIME file;
    ::SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(secondsAgo) * 10'000'000;
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME earlier;
    ::FileTimeToSystemTime(&file, &earlier);
    wchar_t text[64] = {};
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &earlier, nullptr, text, 64);
    return Narrow(text);
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
    EXPECT_TRUE(shown == LongTimeText(now, 0) || shown == LongTimeText(now, 1) || shown == LongTimeText(now, 2))
        << shown << " at " << LongTimeText(now, 0);
    // A time of day, perhaps after its designator; never a date.
    EXPECT_TRUE(std::regex_match(shown, std::regex("([^0-9 ]+ )?[0-9]{1,2}:[0-9]{2}:[0-9]{2}"))) << shown;
}

} // namespace
