#pragma once
// The folder walk's view of drive C: the platform's folder search.
#include "base/WideText.h"
#include "platform/FolderSearch.h"

#include <cstdint>
#include <string_view>

class DiskFolderSource {
public:
    template <class Visit>
    bool List(const String& folderPath, Visit&& visit)
    {
        platform::FolderSearch search(folderPath + "*.*");
        while (const WIN32_FIND_DATAW* entry = search.Next()) {
            const String name = Narrow(entry->cFileName);
            visit(std::string_view(name), static_cast<std::uint32_t>(entry->dwFileAttributes));
        }
        return search.Started();
    }

    std::optional<platform::FolderId> Identify(const String& folderPath)
    {
        return platform::IdentifyFolder(folderPath);
    }
};
