#include "browser/WalkProgress.h"

const FormClass& TWalkProgress::Class()
{
    using W = TWalkProgress;
    static const FormClass formClass{"TWalkProgress",
                                     {Published("Label1", &W::Label1), Published("FolderCount", &W::FolderCount),
                                      Published("FolderPath", &W::FolderPath)}};
    return formClass;
}

TWalkProgress::TWalkProgress(TComponent* owner) : TForm(owner)
{
    BuildFromLayout(L"WALKPROGRESS", Class());
}

void TWalkProgress::Report(std::size_t foldersRead, const String& folderBeingRead)
{
    FolderCount->SetText("읽은 폴더: " + GroupedNumber(foldersRead) + "개");
    FolderPath->SetText(folderBeingRead);
    MSG message;
    while (::PeekMessageW(&message, Handle(), 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::UpdateWindow(Handle());
}

String GroupedNumber(std::size_t value)
{
    String digits = std::to_string(value);
    for (std::ptrdiff_t at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}
