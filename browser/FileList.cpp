// The file list: the direct entries of one folder, in the order the folder
// search gives them.
#include "base/WideText.h"
#include "browser/FileRow.h"
#include "browser/SearchWindow.h"
#include "platform/DebugOutput.h"
#include "platform/FolderSearch.h"
#include "platform/SysUtils.h"

#include <cinttypes>

namespace {

// The view is drawn once, with all rows, however the listing ends.
class UpdateBracket {
public:
    explicit UpdateBracket(TListItems& items) : items_(items) { items_.BeginUpdate(); }
    ~UpdateBracket() { items_.EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TListItems& items_;
};

String LastWriteText(const FILETIME& lastWrite)
{
    SYSTEMTIME local{};
    if (!platform::FileTimeToLocalSystemTime(lastWrite, local))
        return FormatDateTime(kListDateFormat, 0.0);
    return FormatDateTime(kListDateFormat, SystemTimeToDateTime(local));
}

} // namespace

void TSearchWindow::ListFolder(const String& path)
{
    // Declared first, released last: the lines go out once the list is drawn.
    platform::DebugOutputSender::Batch traceBatch(trace_);
    TListItems& items = T_LISTVIEW_SEARCH->Items;
    items.Clear();
    UpdateBracket bracket(items);
    T_EDIT_SEARCH->SetTextBuf(path.c_str());

    // Traced only when someone listens, checked once per listing.
    const bool trace = platform::DebugOutputListened();
    platform::FolderSearch search(SearchPattern(path));
    while (const WIN32_FIND_DATAW* entry = search.Next()) {
        const String name = Narrow(entry->cFileName);
        if (!IsListedName(name))
            continue;
        TListItem* row = items.Add();
        const bool isFolder = (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::uint64_t size = (static_cast<std::uint64_t>(entry->nFileSizeHigh) << 32) | entry->nFileSizeLow;
        if (trace)
            DebugTrace("file name : [%s], file_size[%" PRIu64 "]", name.c_str(), size);
        row->Caption = name;
        row->ImageIndex = isFolder ? kFolderImage : kFileImage;
        row->SubItems = {SizeText(isFolder, size), LastWriteText(entry->ftLastWriteTime), ""};
    }
}
