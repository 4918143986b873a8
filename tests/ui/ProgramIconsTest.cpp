// The program's icon: the sizes it is drawn at, and the two a window is
// given at each density, taken from the drawing of that size.
#include "ui/ProgramIcons.h"

#include "platform/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct Resource {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Resource Find(const wchar_t* name, const wchar_t* type)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, name, type);
    if (!found)
        return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(module, found)};
}

// The icon group's entries, read from the directory as the resource
// compiler wrote it: a 6-byte header and 14-byte entries.
std::vector<GroupIconEntry> GroupEntries()
{
    const Resource group = Find(L"MAINICON", RT_GROUP_ICON);
    std::vector<GroupIconEntry> entries;
    if (!group.data || group.size < 6)
        return entries;
    WORD count = 0;
    std::memcpy(&count, group.data + 4, sizeof count);
    for (WORD i = 0; i < count && 6u + (i + 1u) * sizeof(GroupIconEntry) <= group.size; ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, group.data + 6 + i * sizeof entry, sizeof entry);
        entries.push_back(entry);
    }
    return entries;
}

TEST(ProgramIcons, TheIconIsDrawnAtExactlyItsEightSizes)
{
    const std::vector<int> expected = {16, 20, 24, 32, 40, 48, 64, 256};
    std::vector<int> sizes;
    for (const GroupIconEntry& entry : GroupEntries()) {
        const int size = entry.width == 0 ? 256 : entry.width;
        EXPECT_EQ(entry.height == 0 ? 256 : entry.height, size);
        EXPECT_EQ(entry.bits, 32) << size;
        sizes.push_back(size);
        // The image itself: a PNG at 256, a 32-bit picture with its mask below.
        const Resource image = Find(MAKEINTRESOURCEW(entry.id), RT_ICON);
        ASSERT_NE(image.data, nullptr) << size;
        if (size == 256) {
            EXPECT_EQ(std::memcmp(image.data, "\x89PNG\r\n\x1a\n", 8), 0);
            continue;
        }
        BITMAPINFOHEADER header{};
        ASSERT_GE(image.size, sizeof header);
        std::memcpy(&header, image.data, sizeof header);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size) << "the colours and the AND mask";
        EXPECT_EQ(header.biBitCount, 32);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, expected);

    // The platform's own choice finds each of them by its exact size.
    const Resource group = Find(L"MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group.data, nullptr);
    for (const GroupIconEntry& entry : GroupEntries()) {
        const int size = entry.width == 0 ? 256 : entry.width;
        EXPECT_EQ(::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, size, size, LR_DEFAULTCOLOR),
                  entry.id)
            << size;
    }
}

struct IconPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colours;
};

IconPicture Picture(HICON icon)
{
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return {};
    platform::Bitmap colour(info.hbmColor);
    platform::Bitmap mask(info.hbmMask);
    BITMAP shape{};
    if (!colour || ::GetObjectW(colour.Get(), sizeof shape, &shape) != sizeof shape)
        return {};
    IconPicture picture{shape.bmWidth, shape.bmHeight, std::vector<std::uint32_t>(shape.bmWidth * shape.bmHeight)};
    BITMAPINFO bits{};
    bits.bmiHeader.biSize = sizeof bits.bmiHeader;
    bits.bmiHeader.biWidth = picture.width;
    bits.bmiHeader.biHeight = -picture.height;
    bits.bmiHeader.biPlanes = 1;
    bits.bmiHeader.biBitCount = 32;
    const platform::ScreenDc screen(::GetDC(nullptr));
    ::GetDIBits(screen.Get(), colour.Get(), 0, picture.height, picture.colours.data(), &bits, DIB_RGB_COLORS);
    return picture;
}

// The entry of the given size, made into an icon straight from its bytes.
platform::Icon Entry(int size)
{
    for (const GroupIconEntry& entry : GroupEntries())
        if ((entry.width == 0 ? 256 : entry.width) == size) {
            const Resource image = Find(MAKEINTRESOURCEW(entry.id), RT_ICON);
            return platform::Icon(::CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                                             0x00030000, size, size, LR_DEFAULTCOLOR));
        }
    return platform::Icon();
}

// Windows' icon sizes: 32 and 16 at 96 pixels per inch, growing with the
// density as the system's metrics do.
TEST(ProgramIcons, AWindowGetsTheDrawingsOfTheSystemsSizesAtItsDensity)
{
    const struct {
        int pixelsPerInch;
        int big;
        int small;
    } cases[] = {{96, 32, 16}, {120, 40, 20}, {144, 48, 24}, {192, 64, 32}};
    HWND window = ::CreateWindowExW(0, L"STATIC", L"icons", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixelsPerInch);
        EXPECT_EQ(SystemIconSize(SM_CXICON, c.pixelsPerInch), c.big);
        EXPECT_EQ(SystemIconSize(SM_CXSMICON, c.pixelsPerInch), c.small);
        const TProgramIcons icons(c.pixelsPerInch);
        const IconPicture big = Picture(icons.Big());
        const IconPicture small = Picture(icons.Small());
        EXPECT_EQ(big.width, c.big);
        EXPECT_EQ(big.height, c.big);
        EXPECT_EQ(small.width, c.small);
        EXPECT_EQ(small.height, c.small);
        // Each is the drawing of its size, not another one scaled.
        for (const auto& [shown, size] : {std::pair{&big, c.big}, std::pair{&small, c.small}}) {
            const platform::Icon entry = Entry(size);
            ASSERT_TRUE(entry) << size;
            EXPECT_EQ(Picture(entry.Get()).colours, shown->colours) << size;
        }
        icons.ApplyTo(window);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0)), icons.Big());
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), icons.Small());
        // The window lets go of them before they are destroyed.
        ::SendMessageW(window, WM_SETICON, ICON_BIG, 0);
        ::SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
    }
    ::DestroyWindow(window);
}

} // namespace
