#pragma once
// The small window shown while a long walk of drive C runs, before the
// folder browser itself can show.
#include "ui/Form.h"
#include "ui/StdCtrls.h"

#include <cstddef>

class TWalkProgress : public TForm {
public:
    explicit TWalkProgress(TComponent* owner);

    TLabel* Label1 = nullptr;
    TLabel* FolderCount = nullptr;
    TLabel* FolderPath = nullptr;

    // Shows the figures and lets the window paint; only its own messages
    // are dispatched, nothing of the window being built behind it.
    void Report(std::size_t foldersRead, const String& folderBeingRead);

    static const FormClass& Class();
};

// "12,345" for 12345.
String GroupedNumber(std::size_t value);
