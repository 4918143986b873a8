#include "platform/SystemLibrary.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The system folder and nothing else: a bare name is found there, and a
// name that says where to look is refused, even when it names the system
// folder itself, so that no caller can lead the load elsewhere.
TEST(SystemLibrary, LoadsBareNamesFromTheSystemFolderAndRefusesPaths)
{
    EXPECT_TRUE(platform::LoadSystemLibrary(L"user32.dll"));
    EXPECT_FALSE(platform::LoadSystemLibrary(L"tamsaek-no-such-library.dll"));

    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::wstring fullPath = std::wstring(folder, length) + L"\\user32.dll";
    ASSERT_TRUE(platform::Module(::LoadLibraryW(fullPath.c_str()))) << "the path itself loads";
    for (const std::wstring& name : {fullPath, std::wstring(L"..\\system32\\user32.dll"), std::wstring(L"./user32.dll"),
                                     std::wstring(L"C:user32.dll"), std::wstring()})
        EXPECT_FALSE(platform::LoadSystemLibrary(name.c_str())) << name.size() << " characters";
    EXPECT_FALSE(platform::LoadSystemLibrary(nullptr));
}

} // namespace
