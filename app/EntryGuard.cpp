#include "app/EntryGuard.h"

#include "ui/Application.h"

int RunGuarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
