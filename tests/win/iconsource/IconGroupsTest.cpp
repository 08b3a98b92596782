// The icon groups the program reads from a file are the icons the system's extraction hands
// out: as many, in the same order; counted from a few reads of the file, they are as many as
// the file's whole bytes hold, the file cut short anywhere. For each group, the image the system chooses from it at
// the standard icon size, drawn, is pixel for pixel the icon ExtractIcon gives for its index.
// Checked on Wine's own libraries and programs and on the test fixtures.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "picture/icongroup/IconGroupFile_win.h"
#include "support/FileBytes.h"
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

namespace {

// The shortest start of the file that holds all its groups: cut one byte shorter, the last
// group directory entry (or what holds the count) is no longer whole.
size_t ShortestWhole(const std::vector<uint8_t>& bytes) {
    const size_t all = TIconGroupReader(bytes.data(), bytes.size()).Count();
    size_t low = 0, high = bytes.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (TIconGroupReader(bytes.data(), middle).Count() == all) high = middle;
        else low = middle + 1;
    }
    return low;
}

}  // namespace

// Through the file handle the count reads a block at a time and asks the file's size only
// when the file ends inside what it counts: cut around the last entry and elsewhere, each
// file counts as its bytes in memory do; a missing or empty file has no groups.
TEST(IconGroups, CountedFromTheFileAsFromItsBytes) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string cutName = std::string(folder) + "tervane_cut_groups.dll";
    for (const std::string& source : {std::string("C:\\windows\\system32\\shell32.dll"), Fixture("IconSource.dll"),
                                      Fixture("library.icl"), Fixture("multi.ico")}) {
        const std::vector<uint8_t> bytes = ReadFileBytes(source);
        ASSERT_FALSE(bytes.empty()) << source;
        const size_t whole = ShortestWhole(bytes);
        for (size_t length : {size_t{0}, size_t{1}, size_t{64}, whole - 9, whole - 8, whole - 1, whole, bytes.size()}) {
            if (length > bytes.size()) continue;
            SCOPED_TRACE(source + " cut at " + std::to_string(length));
            std::ofstream(cutName, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(length));
            const size_t expected = TIconGroupReader(bytes.data(), length).Count();
            TIconGroupFile file(cutName);
            EXPECT_EQ(file.GroupCount(), expected);
            EXPECT_EQ(file.GroupOfIcon(0, static_cast<int>(expected)).has_value(), expected > 0);
        }
    }
    DeleteFileA(cutName.c_str());
    EXPECT_EQ(TIconGroupFile(std::string(folder) + "tervane_no_such_file.dll").GroupCount(), 0u);
    EXPECT_EQ(TIconGroupFile(std::string(folder) + "tervane_no_such_file.dll").Data(), nullptr);
}
