#include "browser/FileRow.h"

String SearchPattern(const String& folderPath)
{
    if (!folderPath.empty() && folderPath.back() == '\\')
        return folderPath + "*.*";
    return folderPath + "\\*.*";
}

String SizeText(bool isFolder, std::uint64_t size)
{
    if (isFolder)
        return " ";
    return std::to_string(size);
}
