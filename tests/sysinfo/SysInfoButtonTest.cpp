// The "시스템정보" button of the folder browser: each click builds a fresh
// modal information window and destroys it before the click returns. The
// modal loop is ended from a thread timer, as a user closing it would.
#include "browser/SearchWindow.h"
#include "sysinfo/SysInfoWindow.h"
#include "tests/support/MessageRecorder.h"
#include "ui/Application.h"

#include <gtest/gtest.h>
#include <regex>

namespace {

// What the timer saw of one opening before it closed the window.
struct Opening {
    HWND window = nullptr;
    bool mainEnabled = true;
    int titles = -1;
    int timers = -1;
};

HWND MainWindow = nullptr;

// Every timer of the framework keeps a message-only window of its own.
int TimerWindows()
{
    int count = 0;
    for (HWND found = nullptr; (found = ::FindWindowExW(HWND_MESSAGE, found, L"TamsaekTimer", nullptr));) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(found, &process);
        count += process == ::GetCurrentProcessId() ? 1 : 0;
    }
    return count;
}
std::vector<Opening>& Openings()
{
    static std::vector<Opening> openings;
    return openings;
}

void CALLBACK CloseOpenWindow(HWND, UINT, UINT_PTR, DWORD)
{
    if (!SysInfoTest || !::IsWindowVisible(SysInfoTest->Handle()))
        return;
    if (Openings().empty() || Openings().back().window != SysInfoTest->Handle()) {
        Opening opening;
        opening.window = SysInfoTest->Handle();
        opening.mainEnabled = ::IsWindowEnabled(MainWindow);
        opening.titles = SysInfoTest->ListBox1->Items.Count();
        opening.timers = TimerWindows();
        Openings().push_back(opening);
        ::PostMessageW(SysInfoTest->Handle(), WM_CLOSE, 0, 0);
    }
}

std::vector<String> Texts(const std::vector<RecordedMessage>& boxes)
{
    std::vector<String> texts;
    for (const RecordedMessage& box : boxes)
        texts.push_back(std::regex_match(box.text, std::regex("Clock = [0-9]+")) ? "Clock" : box.text);
    return texts;
}

// The browser, the timer and what the timer saw go with each case, however
// it ends: the cases of a suite share one process.
class SysInfoButton : public ::testing::Test {
protected:
    void SetUp() override { Openings().clear(); }

    void TearDown() override
    {
        if (timer_)
            ::KillTimer(nullptr, timer_);
        SearchWindow = nullptr;
        MainWindow = nullptr;
        delete browser_;
        Openings().clear();
    }

    TSearchWindow* browser_ = nullptr;
    UINT_PTR timer_ = 0;
};

TEST_F(SysInfoButton, EveryClickOpensAFreshModalWindowAndDestroysIt)
{
    auto* browser = browser_ = new TSearchWindow(Application);
    SearchWindow = browser;
    MainWindow = browser->Handle();
    browser->Show();
    timer_ = ::SetTimer(nullptr, 0, 100, CloseOpenWindow);
    ASSERT_NE(timer_, 0u);

    const int timersBefore = TimerWindows();
    RecordedMessages().clear();
    browser->Button1->Click();
    const std::vector<RecordedMessage> first = RecordedMessages();
    RecordedMessages().clear();
    EXPECT_EQ(SysInfoTest, nullptr) << "nothing of the window outlives the click";
    ASSERT_EQ(Openings().size(), 1u) << "the window was shown until closed";
    EXPECT_FALSE(::IsWindow(Openings()[0].window));
    EXPECT_FALSE(Openings()[0].mainEnabled) << "the main window takes no input while it is open";
    EXPECT_TRUE(::IsWindowEnabled(MainWindow));

    browser->Button1->Click();
    const std::vector<RecordedMessage> second = RecordedMessages();
    ::KillTimer(nullptr, timer_);
    timer_ = 0;
    ASSERT_EQ(Openings().size(), 2u);
    EXPECT_FALSE(::IsWindow(Openings()[1].window));
    EXPECT_EQ(SysInfoTest, nullptr);
    EXPECT_EQ(Openings()[1].titles, Openings()[0].titles) << "no titles left over from the first opening";

    ASSERT_GE(first.size(), 9u) << "at least the seven hardware boxes, the clock and the display";
    EXPECT_EQ(Texts(second), Texts(first)) << "every box again, in the same order";

    // The clock's timer lives with its window and goes with it.
    EXPECT_EQ(Openings()[0].timers, timersBefore + 1);
    EXPECT_EQ(Openings()[1].timers, timersBefore + 1);
    EXPECT_EQ(TimerWindows(), timersBefore);
}

} // namespace
