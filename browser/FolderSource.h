#pragma once
// The folder walk's view of drive C: the platform's folder search.
#include "base/WideText.h"
#include "platform/FolderSearch.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

class DiskFolderSource {
public:
    // A visit that returns false ends the listing there: a folder of a
    // hundred thousand entries must not keep a stopped walk waiting.
    template <class Visit>
    bool List(const String& folderPath, Visit&& visit)
    {
        platform::FolderSearch search(folderPath + "*.*");
        while (const WIN32_FIND_DATAW* entry = search.Next()) {
            const String name = Narrow(entry->cFileName);
            const auto attributes = static_cast<std::uint32_t>(entry->dwFileAttributes);
            if constexpr (std::is_void_v<decltype(visit(std::string_view(name), attributes))>)
                visit(std::string_view(name), attributes);
            else if (!visit(std::string_view(name), attributes))
                break;
        }
        return search.Started();
    }

    std::optional<platform::FolderId> Identify(const String& folderPath)
    {
        return platform::IdentifyFolder(folderPath);
    }
};
