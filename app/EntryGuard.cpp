#include "app/EntryGuard.h"

#include "ui/ErrorReport.h"

int RunGuarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (...) {
        ReportCurrentException();
    }
    return 0;
}
