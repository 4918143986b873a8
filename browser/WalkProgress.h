#pragma once
// The small window shown while a long walk of drive C runs, before the
// folder browser itself can show. Its button, its close box and Esc all
// ask for the walk to stop, which ends the program.
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <cstddef>

class TWalkProgress : public TForm {
public:
    explicit TWalkProgress(TComponent* owner);

    TLabel* Label1 = nullptr;
    TLabel* FolderCount = nullptr;
    TLabel* FolderPath = nullptr;
    TButton* Button1 = nullptr;

    void Button1Click(TObject* sender);
    // Closing the window is the same request as the button.
    void FormClose(TObject* sender, TCloseAction& action);

    // Shows the figures and lets the window paint and take the user's
    // input; only its own messages are dispatched, nothing of the window
    // being built behind it.
    void Report(std::size_t foldersRead, const String& folderBeingRead);
    // Dispatches what is waiting for the window, without new figures.
    void ProcessInput();

    // Whether the user asked for the walk to stop; the window then says
    // that it is stopping until it goes.
    bool StopAsked() const { return stopAsked_; }

    static const FormClass& Class();

private:
    void AskStop();

    bool stopAsked_ = false;
};

// "12,345" for 12345.
String GroupedNumber(std::size_t value);
