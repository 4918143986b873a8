#include "ui/Application.h"

#include "base/WideText.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

#include <windows.h>

#include <commctrl.h>

namespace {

TApplication& TheApplication()
{
    static TApplication application;
    return application;
}

void Dispatch(MSG& message)
{
    // Tab and arrow keys move between the controls of a form as in a dialog.
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    if (root && TForm::IsForm(root) && ::IsDialogMessageW(root, &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

} // namespace

TApplication* Application = &TheApplication();

TApplication::TApplication() : TComponent(nullptr) {}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

String TApplication::Title() const
{
    if (!title_.empty())
        return title_;
    // By default the title is the executable's name without its extension.
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return Narrow(name.substr(0, name.find_last_of(L'.')));
}

void TApplication::Run()
{
    // Ended while the main form was made: it is never shown.
    if (mainForm_ && !terminated_) {
        mainForm_->Show();
        MSG message;
        while (!terminated_) {
            const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got == 0)
                break;
            if (got > 0)
                Dispatch(message);
        }
    }
    mainForm_ = nullptr;
    DestroyComponents();
}

void TApplication::Terminate()
{
    terminated_ = true;
    ::PostQuitMessage(0);
}

void TApplication::ShowException(const Exception& exception)
{
    ReportMessage(MessageKind::Error, exception.Message());
}

bool PumpMessage()
{
    MSG message;
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got > 0)
        Dispatch(message);
    return true;
}

void ProcessMessagesOf(const TForm& form)
{
    MSG message;
    while (form.Handle() && ::PeekMessageW(&message, form.Handle(), 0, 0, PM_REMOVE))
        Dispatch(message);
}

bool ProcessMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Dispatch(message);
    }
    return true;
}
