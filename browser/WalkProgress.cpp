#include "browser/WalkProgress.h"

#include "ui/Application.h"

const FormClass& TWalkProgress::Class()
{
    using W = TWalkProgress;
    static const FormClass formClass{"TWalkProgress",
                                     {Published("Label1", &W::Label1), Published("FolderCount", &W::FolderCount),
                                      Published("FolderPath", &W::FolderPath), Published("Button1", &W::Button1),
                                      Published("Button1Click", &W::Button1Click),
                                      Published("FormClose", &W::FormClose)}};
    return formClass;
}

TWalkProgress::TWalkProgress(TComponent* owner) : TForm(owner)
{
    BuildFromLayout(L"WALKPROGRESS", Class());
}

void TWalkProgress::Button1Click(TObject*)
{
    AskStop();
}

void TWalkProgress::FormClose(TObject*, TCloseAction& action)
{
    // The window stays until the walk has stopped: it says so meanwhile.
    action = caNone;
    AskStop();
}

void TWalkProgress::AskStop()
{
    if (stopAsked_)
        return;
    stopAsked_ = true;
    Label1->SetText("읽기를 멈추는 중…");
    Button1->SetEnabled(false);
    ::UpdateWindow(Handle());
}

void TWalkProgress::Report(std::size_t foldersRead, const String& folderBeingRead)
{
    if (!stopAsked_) {
        FolderCount->SetText("읽은 폴더: " + GroupedNumber(foldersRead) + "개");
        FolderPath->SetText(folderBeingRead);
    }
    ProcessInput();
}

void TWalkProgress::ProcessInput()
{
    ProcessMessagesOf(*this);
    ::UpdateWindow(Handle());
}

String GroupedNumber(std::size_t value)
{
    String digits = std::to_string(value);
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}
