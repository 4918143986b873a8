#include "browser/WalkProgress.h"

#include "base/WideText.h"
#include "tests/support/Fixtures.h"
#include "tests/support/Input.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(WalkProgress, NumbersAreGroupedByThousands)
{
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(12345), "12,345");
    EXPECT_EQ(GroupedNumber(100000), "100,000");
    EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
}

TEST(WalkProgress, ShowsTheCountAndTheFolderBeingRead)
{
    TWalkProgress window(nullptr);
    window.Show();
    window.Report(12345, "C:\\Windows\\System32\\");
    EXPECT_EQ(window.Label1->Text(), "폴더를 읽는 중…");
    EXPECT_EQ(window.FolderCount->Text(), "읽은 폴더: 12,345개");
    EXPECT_EQ(window.FolderPath->Text(), "C:\\Windows\\System32\\");
    EXPECT_EQ(window.Button1->Text(), "취소");
    EXPECT_TRUE(::GetWindowLongW(window.FolderPath->Handle(), GWL_STYLE) & SS_PATHELLIPSIS);
    const LONG style = ::GetWindowLongW(window.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "a fixed dialog border";
    EXPECT_TRUE(style & WS_SYSMENU) << "a close box";
    EXPECT_EQ(::GetWindowLongW(window.Button1->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    // A window of the taskbar, which a user who switched away finds again.
    EXPECT_EQ(::GetWindow(window.Handle(), GW_OWNER), nullptr);
    EXPECT_NE(::GetClassLongPtrW(window.Handle(), GCLP_HICON), 0u);
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 420);
    EXPECT_EQ(client.bottom, 109);
}

// Presses a key as the keyboard would, in the window that has the focus.
void PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

TEST(WalkProgress, TheButtonEscAndTheCloseBoxAskToStopAndTheWindowSaysSoUntilItGoes)
{
    struct Way {
        const char* name;
        std::function<void(TWalkProgress&)> ask;
    };
    const std::vector<Way> ways = {
        {"a click on the button",
         [](TWalkProgress& w) {
             RECT r;
             ::GetClientRect(w.Button1->Handle(), &r);
             ClickAt(w.Button1->Handle(), {r.right / 2, r.bottom / 2});
         }},
        {"Esc", [](TWalkProgress&) { PressKey(VK_ESCAPE); }},
        {"Enter on the default button", [](TWalkProgress&) { PressKey(VK_RETURN); }},
        {"the close box", [](TWalkProgress& w) { ::PostMessageW(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        TWalkProgress window(nullptr);
        window.Show();
        ::SetForegroundWindow(window.Handle());
        window.Report(10, "C:\\a\\");
        ASSERT_FALSE(window.StopAsked());
        way.ask(window);
        for (int round = 0; round < 200 && !window.StopAsked(); ++round) {
            ::Sleep(10);
            window.ProcessInput();
        }
        EXPECT_TRUE(window.StopAsked());
        window.Report(20, "C:\\b\\");
        EXPECT_EQ(window.Label1->Text(), "읽기를 멈추는 중…");
        EXPECT_EQ(window.FolderCount->Text(), "읽은 폴더: 10개") << "the figures stand still once stopping";
        EXPECT_FALSE(::IsWindowEnabled(window.Button1->Handle()));
        EXPECT_TRUE(::IsWindowVisible(window.Handle())) << "the window stays until the walk has stopped";
    }
}

} // namespace
