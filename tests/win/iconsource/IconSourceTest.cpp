// The icon sources that the icon extraction tests rely on hold what they promise: three icon
// groups of known sizes, depths and colours in the DLL and the executable, three images in
// the .ico file, read back through the Windows API itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FileBytes.h"

namespace {

std::string FixturePath(const char* name) {
    std::string path = std::string("Z:") + TERVANE_BINARY_DIR + "/tests/fixtures/iconsource/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct TImageEntry {
    int size;
    int bits;
    bool operator==(const TImageEntry& other) const { return size == other.size && bits == other.bits; }
};

#pragma pack(push, 2)
struct TGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<TImageEntry> GroupImages(HMODULE module, int group) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(group), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!resource) return {};
    auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    WORD count = *reinterpret_cast<const WORD*>(data + 4);
    std::vector<TImageEntry> images;
    for (WORD i = 0; i < count; ++i) {
        auto* entry = reinterpret_cast<const TGroupEntry*>(data + 6 + i * sizeof(TGroupEntry));
        images.push_back({entry->width ? entry->width : 256, entry->bits});
    }
    return images;
}

// Draws an icon over magenta and returns the colour (0xRRGGBB) at a point.
COLORREF PixelOfIcon(HICON icon, int size, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, magenta);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(magenta);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return colour;
}

void ExpectIconColours(const std::string& file) {
    const COLORREF centre[] = {RGB(0xD0, 0x30, 0x30), RGB(0x30, 0xB0, 0x40), RGB(0x20, 0x50, 0xE0)};
    const COLORREF corner[] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        HICON icon = ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), i);
        ASSERT_NE(icon, nullptr) << file << " icon " << i;
        EXPECT_EQ(PixelOfIcon(icon, 32, 16, 10), centre[i]) << file << " icon " << i;
        EXPECT_EQ(PixelOfIcon(icon, 32, 0, 0), corner[i]) << file << " icon " << i;
        DestroyIcon(icon);
    }
}

}  // namespace

TEST(IconSource, DllAndExeEachCountThreeIcons) {
    for (const char* name : {"IconSource.dll", "IconSourceApp.exe"}) {
        std::string path = FixturePath(name);
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), -1)), 3u)
            << path;
    }
}

TEST(IconSource, GroupsHoldTheirSizesAndDepths) {
    for (const char* name : {"IconSource.dll", "IconSourceApp.exe"}) {
        HMODULE module = LoadLibraryExA(FixturePath(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_EQ(GroupImages(module, 1), (std::vector<TImageEntry>{{16, 4}, {32, 4}})) << name;
        EXPECT_EQ(GroupImages(module, 2), (std::vector<TImageEntry>{{32, 8}})) << name;
        EXPECT_EQ(GroupImages(module, 3), (std::vector<TImageEntry>{{48, 32}})) << name;
        EXPECT_TRUE(GroupImages(module, 4).empty()) << name;
        FreeLibrary(module);
    }
}

TEST(IconSource, IconsShowTheirColoursAndTheDiscIsTransparentOutside) {
    ExpectIconColours(FixturePath("IconSource.dll"));
    ExpectIconColours(FixturePath("IconSourceApp.exe"));
}

TEST(IconSource, MultiImageIcoHoldsThreeSizes) {
    const std::vector<uint8_t> bytes = ReadFileBytes(FixturePath("multi.ico"));
    ASSERT_GE(bytes.size(), 6u + 3 * 16);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 1);  // icon type
    ASSERT_EQ(bytes[4] | bytes[5] << 8, 3);
    const int sizes[] = {16, 32, 48}, bits[] = {4, 8, 32};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bytes[6 + i * 16], sizes[i]);
        EXPECT_EQ(bytes[6 + i * 16 + 6], bits[i]);
    }
    HICON large = static_cast<HICON>(LoadImageA(nullptr, FixturePath("multi.ico").c_str(), IMAGE_ICON, 48, 48,
                                                LR_LOADFROMFILE));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(PixelOfIcon(large, 48, 24, 24), RGB(0x20, 0x50, 0xE0));
    EXPECT_EQ(PixelOfIcon(large, 48, 1, 1), RGB(255, 0, 255));
    DestroyIcon(large);
}
