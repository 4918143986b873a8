#include "ui/ErrorReport.h"

#include "base/Exception.h"
#include "ui/Dialogs.h"

void ReportCurrentException() noexcept
{
    try {
        try {
            throw;
        } catch (const Exception& e) {
            ReportMessage(MessageKind::Error, e.Message());
        } catch (...) {
            ReportMessage(MessageKind::Error, String());
        }
    } catch (...) {
        // The box itself failed (out of memory, or called outside a catch
        // block): there is nothing left to report with.
    }
}
