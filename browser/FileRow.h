#pragma once
// What one entry of a folder looks like in the file list.
#include "base/DateTime.h"
#include "base/Text.h"

#include <cstdint>
#include <string_view>

constexpr int kFolderImage = 0;
constexpr int kFileImage = 1;
constexpr char kListDateFormat[] = "yyyy-dd-mm hh:nn:ss"; // the day comes before the month

// C:\ gives C:\*.*, C:\Windows and C:\Windows\ both give C:\Windows\*.*.
String SearchPattern(const String& folderPath);

// Names beginning with a full stop are never listed ("." and ".." included).
inline bool IsListedName(std::string_view name)
{
    return !name.empty() && name[0] != '.';
}

// A folder's size is one blank; a file's is its whole size in bytes.
String SizeText(bool isFolder, std::uint64_t size);
