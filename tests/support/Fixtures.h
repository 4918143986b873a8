#pragma once
// Folders and files made by the tests on drive C, removed afterwards.
#include "base/Text.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

void MakeFolder(const String& path, DWORD attributes = 0);
// A file of `size` bytes; sizes beyond a few kilobytes are made sparse by
// moving the end of the file.
void MakeFile(const String& path, std::uint64_t size, const std::optional<SYSTEMTIME>& localLastWrite = std::nullopt);
void RemoveTree(const String& path);
// The names a folder search gives, in its order, "." and ".." left out.
std::vector<String> SearchNames(const String& folder, bool foldersOnly);
bool RunningUnderWine();
