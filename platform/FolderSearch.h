#pragma once
// The folder search: the entries of one folder, in the file system's order.
#include "base/Text.h"
#include "platform/UniqueHandle.h"

#include <cstdint>
#include <optional>

namespace platform {

class FolderSearch {
public:
    // Starts a search on a pattern such as C:\Windows\*.* (any length).
    explicit FolderSearch(const String& pattern);
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    // False when the search could not start: missing or unreadable folder.
    bool Started() const { return static_cast<bool>(handle_); }
    // The next entry, null at the end. Valid until the next call.
    const WIN32_FIND_DATAW* Next();

private:
    FindHandle handle_;
    WIN32_FIND_DATAW data_{};
    bool pending_ = false;
};

struct FolderId {
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FolderId& other) const { return volume == other.volume && index == other.index; }
};

// The identity of the folder a path leads to, following links.
std::optional<FolderId> IdentifyFolder(const String& path);

// A file time (UTC) in local calendar time.
bool FileTimeToLocalSystemTime(const FILETIME& utc, SYSTEMTIME& local);

} // namespace platform
