#pragma once
// The application object: creates the forms it owns, runs the message
// loop until the main form closes and reports exceptions in a box.
#include "base/Exception.h"
#include "ui/Component.h"

class TForm;

class TApplication : public TComponent {
public:
    TApplication();

    void Initialize();

    // Constructs a form owned by the application; the first one becomes the
    // main form. `reference` stays null while the form is being constructed
    // and is set once its construction has finished.
    template <class FormClass>
    void CreateForm(FormClass*& reference)
    {
        reference = nullptr;
        auto* form = new FormClass(this);
        reference = form;
        if (!mainForm_)
            mainForm_ = form;
    }

    // Shows the main form and dispatches messages until it closes, then
    // destroys the forms the application owns.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    TForm* MainForm() const { return mainForm_; }
    String Title() const;
    void SetTitle(const String& title) { title_ = title; }

    void ShowException(const Exception& exception);

private:
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    String title_;
};

extern TApplication* Application;

// Takes the next message and dispatches it; false once WM_QUIT arrives
// (which is posted again for an enclosing loop).
bool PumpMessage();
// Dispatches what is waiting without blocking; false on WM_QUIT.
bool ProcessMessages();
// Dispatches what is waiting for one form and its controls, without
// blocking, as the message loop would (Tab, Enter and Esc included).
void ProcessMessagesOf(const TForm& form);
