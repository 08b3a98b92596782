// The icon groups the program reads from a file are the icons the system's extraction hands
// out: as many, in the same order. For each group, the image the system chooses from it at
// the standard icon size, drawn, is pixel for pixel the icon ExtractIcon gives for its index.
// Checked on Wine's own libraries and programs and on the test fixtures.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/icongroup/IconGroupFile_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

std::string Fixture(const char* name) {
    std::string path = std::string("Z:") + TERVANE_BINARY_DIR + "/tests/fixtures/iconsource/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The icon over magenta at the standard size, as 32-bit pixels.
std::vector<DWORD> Drawn(HICON icon) {
    const int side = GetSystemMetrics(SM_CXICON);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemoryDC dc(nullptr, bitmap.Get());
    TBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all = {0, 0, side, side};
    FillRect(dc.Get(), &all, magenta.Get());
    DrawIconEx(dc.Get(), 0, 0, icon, side, side, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(pixels, pixels + side * side);
}

// The group's image the system itself would choose, made into an icon: its directory given
// to the system's look-up in the form resources store it.
HICON SystemChoice(const uint8_t* data, const TIconGroup& group) {
    std::vector<BYTE> directory = {0, 0, 1, 0, static_cast<BYTE>(group.images.size()),
                                   static_cast<BYTE>(group.images.size() >> 8)};
    for (size_t i = 0; i < group.images.size(); ++i) {
        const TIconDirEntry& e = group.images[i].entry;
        const BYTE entry[14] = {e.width, e.height, e.colorCount, e.reserved, BYTE(e.planes), BYTE(e.planes >> 8),
                                BYTE(e.bitCount), BYTE(e.bitCount >> 8), BYTE(e.bytesInRes), BYTE(e.bytesInRes >> 8),
                                BYTE(e.bytesInRes >> 16), BYTE(e.bytesInRes >> 24), BYTE(i + 1), BYTE((i + 1) >> 8)};
        directory.insert(directory.end(), entry, entry + 14);
    }
    const int side = GetSystemMetrics(SM_CXICON);
    int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, side, side, LR_DEFAULTCOLOR);
    if (id < 1 || static_cast<size_t>(id) > group.images.size()) return nullptr;
    const TIconDirEntry& chosen = group.images[id - 1].entry;
    return CreateIconFromResourceEx(const_cast<BYTE*>(data + chosen.imageOffset), chosen.bytesInRes, TRUE, 0x00030000,
                                    side, side, LR_DEFAULTCOLOR);
}

}  // namespace

TEST(IconGroups, AreTheIconsTheSystemExtracts) {
    const std::string files[] = {"C:\\windows\\system32\\shell32.dll", "C:\\windows\\system32\\user32.dll",
                                 "C:\\windows\\notepad.exe", "C:\\windows\\system32\\winecfg.exe",
                                 Fixture("IconSource.dll"), Fixture("IconSourceApp.exe"),
                                 Fixture("IconSourceWhole.exe"), Fixture("library.icl"), Fixture("multi.ico")};
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::wstring wide(file.begin(), file.end());
        const int count = static_cast<int>(reinterpret_cast<UINT_PTR>(ExtractIconW(nullptr, wide.c_str(), UINT(-1))));
        TIconGroupFile groups(file);
        ASSERT_GT(count, 0);
        ASSERT_EQ(groups.GroupCount(), static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            TIconHandle system(ExtractIconW(nullptr, wide.c_str(), i));
            TIconHandle ours(SystemChoice(groups.Data(), groups.Group(i)));
            ASSERT_TRUE(system && ours) << "icon " << i;
            EXPECT_EQ(Drawn(system.Get()), Drawn(ours.Get())) << "icon " << i;
        }
    }
}
