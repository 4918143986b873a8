#include "platform/FolderSearch.h"

#include "base/WideText.h"
#include "platform/LongPath.h"

namespace platform {

FolderSearch::FolderSearch(const String& pattern)
{
    // The basic form skips the short names; large fetches cut the round trips.
    handle_.Reset(::FindFirstFileExW(ExtendedLengthPath(Widen(pattern)).c_str(), FindExInfoBasic, &data_,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    pending_ = static_cast<bool>(handle_);
}

const WIN32_FIND_DATAW* FolderSearch::Next()
{
    if (pending_) {
        pending_ = false;
        return &data_;
    }
    if (!handle_ || !::FindNextFileW(handle_.Get(), &data_))
        return nullptr;
    return &data_;
}

std::optional<FolderId> IdentifyFolder(const String& path)
{
    FileHandle folder(::CreateFileW(ExtendedLengthPath(Widen(path)).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder || !::GetFileInformationByHandle(folder.Get(), &info))
        return std::nullopt;
    return FolderId{info.dwVolumeSerialNumber,
                    (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool FileTimeToLocalSystemTime(const FILETIME& utc, SYSTEMTIME& local)
{
    FILETIME localTime;
    return ::FileTimeToLocalFileTime(&utc, &localTime) && ::FileTimeToSystemTime(&localTime, &local);
}

} // namespace platform
