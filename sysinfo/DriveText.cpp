#include "sysinfo/DriveText.h"

#include "base/NumberText.h"

std::vector<String> DriveLetters(std::uint32_t mask)
{
    std::vector<String> letters;
    for (int bit = 0; bit < 26; ++bit)
        if (mask & (1u << bit))
            letters.emplace_back(1, static_cast<char>('A' + bit));
    return letters;
}

String DriveTypeText(std::uint32_t type)
{
    static const char* const kTexts[] = {
        "Unknown", "(Not Available)", "Removable Drive", "Hard Drive", "Network Drive", "CD-ROM Drive", "RAM Drive",
    };
    return type < std::size(kTexts) ? kTexts[type] : "";
}

std::int64_t BytesToKB(std::int64_t bytes)
{
    // The figure stays 64-bit: 2 TiB and more must not wrap negative.
    return bytes >> 10;
}

std::vector<String> DriveDetailLines(const DriveDetails& drive)
{
    return {
        "Volum Name : " + drive.volumeName,
        "Volum Serial : " + IntToHex(drive.serial, 8),
        "File System : " + drive.fileSystem,
        "Drive Type : " + DriveTypeText(drive.driveType),
        "Free Space : " + std::to_string(BytesToKB(drive.freeBytes)) + " KB",
        "Total Space : " + std::to_string(BytesToKB(drive.totalBytes)) + " KB",
    };
}
