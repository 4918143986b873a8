#include "tests/support/Fixtures.h"

#include "base/WideText.h"
#include "platform/LongPath.h"

#include <stdexcept>

namespace {

std::wstring Native(const String& path)
{
    return platform::ExtendedLengthPath(Widen(path));
}

} // namespace

void MakeFolder(const String& path, DWORD attributes)
{
    if (!::CreateDirectoryW(Native(path).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create folder " + path);
    if (attributes)
        ::SetFileAttributesW(Native(path).c_str(), attributes);
}

void MakeFile(const String& path, std::uint64_t size, const std::optional<SYSTEMTIME>& localLastWrite)
{
    HANDLE file =
        ::CreateFileW(Native(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create file " + path);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool ok = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    if (ok && localLastWrite) {
        FILETIME local;
        FILETIME utc;
        ok = ::SystemTimeToFileTime(&*localLastWrite, &local) && ::LocalFileTimeToFileTime(&local, &utc) &&
             ::SetFileTime(file, nullptr, nullptr, &utc);
    }
    ::CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot size file " + path);
}

void RemoveTree(const String& path)
{
    const String folder = path.back() == '\\' ? path : path + "\\";
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW(Native(folder + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const String name = Narrow(entry.cFileName);
            if (name == "." || name == "..")
                continue;
            const String child = folder + name;
            ::SetFileAttributesW(Native(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(child);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(Native(child).c_str());
            else
                ::DeleteFileW(Native(child).c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::SetFileAttributesW(Native(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(Native(path).c_str());
}

std::vector<String> SearchNames(const String& folder, bool foldersOnly)
{
    std::vector<String> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW(Native(folder + "*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const String name = Narrow(entry.cFileName);
        if (name == "." || name == "..")
            continue;
        if (!foldersOnly || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(name);
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}

bool RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}
