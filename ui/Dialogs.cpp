#include "ui/Dialogs.h"

#include "base/WideText.h"
#include "ui/Application.h"

#include <windows.h>

#include <utility>

namespace {

MessageSink& CurrentSink()
{
    static MessageSink sink;
    return sink;
}

void ShowModalBox(MessageKind kind, const String& text)
{
    // Owned by the active window of this thread so the box is modal to it.
    HWND owner = ::GetActiveWindow();
    const UINT style = MB_OK | (owner ? 0 : MB_TASKMODAL) | (kind == MessageKind::Error ? MB_ICONERROR : 0);
    ::MessageBoxW(owner, Widen(text).c_str(), Widen(Application->Title()).c_str(), style);
}

} // namespace

void ShowMessage(const String& text)
{
    ReportMessage(MessageKind::Message, text);
}

MessageSink SetMessageSink(MessageSink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

void ReportMessage(MessageKind kind, const String& text)
{
    if (const MessageSink& sink = CurrentSink())
        sink(kind, text);
    else
        ShowModalBox(kind, text);
}
