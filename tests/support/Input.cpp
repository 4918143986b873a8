#include "tests/support/Input.h"

#include "ui/Application.h"

void ClickAt(HWND window, POINT client, bool doubleClick)
{
    ::ClientToScreen(window, &client);
    ::SetCursorPos(client.x, client.y);
    INPUT inputs[4] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(doubleClick ? 4 : 2, inputs, sizeof(INPUT));
}

bool PumpUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 200; ++round) {
        ProcessMessages();
        if (done())
            return true;
        ::Sleep(10);
    }
    return done();
}
